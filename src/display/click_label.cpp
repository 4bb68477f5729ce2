#include "display/click_label.h"

#include <QMouseEvent>

namespace wavora {

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
    QLabel::mouseReleaseEvent(event);
}

}  // namespace wavora
