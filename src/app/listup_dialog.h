#pragma once
// TListup, " Listup Data": the start of the next listing page and the page length; "List Up" lists
// the next page in the main window's grid.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace wavora {

class MainCommands;
struct Session;

class TListup : public QDialog {
    Q_OBJECT
  public:
    TListup(Session& session, MainCommands& commands, QWidget* parent = nullptr);

    QLineEdit* Edit1;      // "List From"
    QLineEdit* Edit2;      // "Skip" (page length)
    QPushButton* Button1;  // "List Up"
    QPushButton* Button2;  // "Close"

    void Button1Click();
    void Button2Click();
    // Shows the next start the session offers.
    void SyncFromState();

  private:
    Session& session_;
    MainCommands& commands_;
};

}  // namespace wavora
