#pragma once
// TPkHelp, "Help for Peaks": how the spectral peaks window and the automatic skipping analysis
// work, as a read-only text, with a close button. Shown from the peaks window's Help menu, kept on
// top beside it.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace wavora {

class MainCommands;
struct Session;

class TPkHelp : public QDialog {
    Q_OBJECT
  public:
    TPkHelp(Session& session, MainCommands& commands, QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QPushButton* Button1;  // "Close(&C)"
};

}  // namespace wavora
