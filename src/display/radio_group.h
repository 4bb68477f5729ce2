#pragma once
// A captioned group of radio buttons with an item index, as the windows' "Step", "Points" and
// "Magnification" groups. Setting the index from code does not run the click handler; a click does.

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace wavora {

class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    RadioGroup(const QString& caption, const QStringList& items, int columns = 1, QWidget* parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(buttons_.size()); }
    QString ItemText(int index) const;
    // New captions for the existing items (the index is kept).
    void SetItemTexts(const QStringList& items);
    QRadioButton* Button(int index) const { return buttons_.at(static_cast<size_t>(index)); }

  signals:
    // The user clicked an item.
    void Clicked(int index);

  private:
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};

}  // namespace wavora
