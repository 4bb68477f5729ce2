#include "display/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace wavora {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(1);
    if (columns < 1) columns = 1;
    int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        group_->addButton(b, i);
        // Items run down the first column, then the next.
        layout->addWidget(b, i % rows, i / rows);
        buttons_.push_back(b);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) { emit Clicked(id); });
}

int RadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void RadioGroup::SetItemIndex(int index) {
    if (index >= 0 && index < Count()) {
        buttons_[static_cast<size_t>(index)]->setChecked(true);
    } else if (QAbstractButton* b = group_->checkedButton()) {
        group_->setExclusive(false);
        b->setChecked(false);
        group_->setExclusive(true);
    }
}

QString RadioGroup::ItemText(int index) const {
    return index >= 0 && index < Count() ? buttons_[static_cast<size_t>(index)]->text() : QString();
}

void RadioGroup::SetItemTexts(const QStringList& items) {
    for (int i = 0; i < Count() && i < items.size(); ++i) buttons_[static_cast<size_t>(i)]->setText(items[i]);
}

}  // namespace wavora
