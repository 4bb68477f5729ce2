#pragma once
// An up-down control beside an edit field: two small arrow buttons that step the number in the
// field by one within [Min, Max] and tell where they moved it. The field stays an ordinary text
// field, so a value typed by hand is read (and refused) by whoever reads the field.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace wavora {

class UpDown : public QWidget {
    Q_OBJECT
  public:
    UpDown(QLineEdit* associate, QWidget* parent = nullptr);

    int Min = 1;
    int Max = 100;
    // Where the control stands: the field's number when it holds one, else the last position.
    int Position() const;
    void SetPosition(int position);  // also writes the field
    // A click on the upper (true) or lower arrow.
    void Click(bool up);

    QToolButton* UpButton;
    QToolButton* DownButton;

  signals:
    // After a click, with the new position.
    void Clicked(int position);

  private:
    QLineEdit* associate_;
    int position_ = 1;
};

}  // namespace wavora
