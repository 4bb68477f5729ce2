#pragma once
// TListup, " Listup Data": the start of the next listing page and the page length; "List Up" lists
// the next page in the main window's grid.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace wavora {

class TForm1;

class TListup : public QDialog {
    Q_OBJECT
  public:
    explicit TListup(TForm1& form, QWidget* parent = nullptr);

    QLineEdit* Edit1;      // "List From"
    QLineEdit* Edit2;      // "Skip" (page length)
    QPushButton* Button1;  // "List Up"
    QPushButton* Button2;  // "Close"

    void Button1Click();
    void Button2Click();

  private:
    TForm1& form_;
};

}  // namespace wavora
