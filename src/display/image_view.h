#pragma once
// The picture control of a window (the main window's Image1): a fixed-size image drawn through a
// Canvas; every drawing schedules a repaint, and the mouse is reported in picture pixels.

#include <QImage>
#include <QWidget>
#include <memory>

#include "draw/image_canvas.h"

namespace wavora {

class ImageView : public QWidget {
    Q_OBJECT
  public:
    // A white picture of the given size.
    ImageView(int width, int height, QWidget* parent = nullptr);
    ~ImageView() override;

    // The drawing surface. Drawing through it repaints the control.
    Canvas& Picture();
    // The whole picture as drawn.
    QImage Image() const;

  signals:
    void MouseMoved(int x, int y);
    void MousePressed(Qt::MouseButton button, int x, int y);
    void MouseReleased(Qt::MouseButton button, int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    class Refreshing;
    std::unique_ptr<ImageCanvas> canvas_;
    std::unique_ptr<Refreshing> refreshing_;
};

}  // namespace wavora
