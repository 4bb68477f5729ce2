#pragma once
// The small windows of the shell: the version box, the how-to text, the processing notice, and the
// frame of a window whose content is still to come.

#include <QDialog>
#include <QElapsedTimer>
#include <QFrame>
#include <QPixmap>
#include <string>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace wavora {

class ClickLabel;

// TAboutBox, "バージョン情報": title picture, version, the program file's date.
class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    TAboutBox(const std::string& programDate, QWidget* parent = nullptr);
    ClickLabel* Image1;       // title picture
    ClickLabel* ProgramIcon;  // program picture
    QLabel* Version;          // "Ver 4.8"
    QLabel* DateLabel;        // the program date
};

// THowto, "Howto": usage notes and a close button.
class THowto : public QDialog {
    Q_OBJECT
  public:
    explicit THowto(QWidget* parent = nullptr);
    QPlainTextEdit* Memo1;
    QPushButton* Button1;  // "Close(&C)"
};

// The how-to text.
const char* HowtoText();

// TProcess, "  Processing now. Wait a moment, please.": shown while a long step runs.
class TProcess : public QDialog {
    Q_OBJECT
  public:
    explicit TProcess(QWidget* parent = nullptr);
    QLabel* Label1;             // "Wait a moment, please."
    QLabel* Label2;             // what runs now
    QProgressBar* ProgressBar;  // how far a long read or filter is; shown by ShowProgress
    QPushButton* BtnCancel;     // "Cancel": stops that read or filter; shown by ShowProgress
    // Shows the notice with `what` and paints it at once (the caller keeps the thread busy); the
    // same text again is painted at most a few times a second.
    void ShowNow(const std::string& what);
    // Shows `what`, the fraction done and the Cancel button, and lets the events through now and
    // then so that Cancel can be pressed (the notice is modal: nothing else takes input meanwhile).
    // False once Cancel has been pressed; closing the notice forgets that.
    bool ShowProgress(const std::string& what, double fraction);
    bool CancelPressed() const { return cancelPressed_; }

  protected:
    // Esc presses Cancel when there is one; the notice itself is never closed by the user.
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QElapsedTimer sincePaint_;
    QElapsedTimer sinceEvents_;
    bool cancelPressed_ = false;
};

// A window that exists from start-up with its caption; its controls come with the work that owns it.
class PendingWindow : public QDialog {
    Q_OBJECT
  public:
    PendingWindow(const char* className, const char* caption, QWidget* parent = nullptr);
};

// TTkBtn, a picture button: its picture stretched over the whole control, a bevelled frame and the
// caption centred on top. A left press lowers the bevel, the release raises it again.
class TTkBtn : public QFrame {
    Q_OBJECT
  public:
    enum class Bevel { Raised, Lowered };
    explicit TTkBtn(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& picture);
    const QPixmap& Picture() const { return picture_; }
    void SetCaption(const QString& caption);
    const QString& Caption() const { return caption_; }
    Bevel BevelOuter() const { return bevel_; }
    QSize sizeHint() const override { return {75, 25}; }

  signals:
    void Clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPixmap picture_;
    QString caption_;
    Bevel bevel_ = Bevel::Raised;
};

}  // namespace wavora
