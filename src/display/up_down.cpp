#include "display/up_down.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "record/number_text.h"

namespace wavora {

UpDown::UpDown(QLineEdit* associate, QWidget* parent) : QWidget(parent), associate_(associate) {
    UpButton = new QToolButton(this);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton = new QToolButton(this);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {UpButton, DownButton}) {
        b->setFixedSize(16, 11);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(UpButton);
    layout->addWidget(DownButton);
    connect(UpButton, &QToolButton::clicked, this, [this] { Click(true); });
    connect(DownButton, &QToolButton::clicked, this, [this] { Click(false); });
}

int UpDown::Position() const {
    if (associate_)
        if (std::optional<int> v = StrictInt(associate_->text().toStdString())) return *v;
    return position_;
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, Min, std::max(Min, Max));
    if (associate_) associate_->setText(QString::number(position_));
}

void UpDown::Click(bool up) {
    const int from = std::clamp(Position(), Min, std::max(Min, Max));
    SetPosition(up ? (from < Max ? from + 1 : from) : (from > Min ? from - 1 : from));
    emit Clicked(position_);
}

}  // namespace wavora
