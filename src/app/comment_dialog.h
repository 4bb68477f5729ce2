#pragma once
// TComment, "File Comment": the record's title, comment and channel names. For an SPC-51 record
// OK writes them into the file in place; for the other formats they change the record in memory
// only. The picture then shows the new texts. A completed load closes the editor, so that it never
// writes what was typed for one file into another.

#include <QDialog>
#include <array>

#include "formats/spc51_comment.h"
#include "record/wave_record.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace wavora {

class MainCommands;
struct Session;

class TComment : public QDialog {
    Q_OBJECT
  public:
    TComment(Session& session, MainCommands& commands, QWidget* parent = nullptr);

    QLabel* LbFname;                              // the record's file path
    QLineEdit* EdTitle;                           // "Title"
    QLineEdit* EdComment;                         // "Comment"
    std::array<QLineEdit*, kMaxChannels> EdCh{};  // EdCh1 … EdCh8, "CH 1" … "CH 8"
    QPushButton* OKBtn;                           // "OK"
    QPushButton* CancelBtn;                       // "Cancel"

    // The system calls of the write into an SPC-51 file (the tests make them fail).
    PatchIo Io = PatchIo::System();

    // Edit ▸ File Comment: the fields show the record's texts and the editor is shown.
    void Open();
    // OK: the texts go into the file (SPC-51) and the record; a refusal is shown and the editor
    // stays open with nothing changed.
    void OKBtnClick();
    void CancelBtnClick();

  private:
    void FillFromRecord();

    Session& session_;
    MainCommands& commands_;
};

}  // namespace wavora
