#pragma once
// A picture or text that reacts to a left click (the logo, the indicator pictures).

#include <QLabel>

namespace wavora {

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void Clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace wavora
