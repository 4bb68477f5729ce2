#include "display/image_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace wavora {

// Passes every call on to the real canvas and schedules a repaint of the control after drawing.
class ImageView::Refreshing : public Canvas {
  public:
    Refreshing(ImageCanvas& inner, QWidget& view) : inner_(inner), view_(view) {}

    int Width() const override { return inner_.Width(); }
    int Height() const override { return inner_.Height(); }
    void SetPenColor(Color c) override { inner_.SetPenColor(c); }
    void SetPenWidth(int w) override { inner_.SetPenWidth(w); }
    void SetPenStyle(PenStyle s) override { inner_.SetPenStyle(s); }
    void SetXorMode(bool on) override { inner_.SetXorMode(on); }
    void SetBrushColor(Color c) override { inner_.SetBrushColor(c); }
    void SetFont(const std::string& name, int pointSize) override { inner_.SetFont(name, pointSize); }
    void SetFontColor(Color c) override { inner_.SetFontColor(c); }
    void SetTextTransparent(bool on) override { inner_.SetTextTransparent(on); }
    void FillRect(int l, int t, int r, int b) override {
        inner_.FillRect(l, t, r, b);
        view_.update();
    }
    void MoveTo(int x, int y) override { inner_.MoveTo(x, y); }
    void LineTo(int x, int y) override {
        inner_.LineTo(x, y);
        view_.update();
    }
    void TextOut(int x, int y, const std::string& s) override {
        inner_.TextOut(x, y, s);
        view_.update();
    }
    int TextWidth(const std::string& s) override { return inner_.TextWidth(s); }
    int TextHeight(const std::string& s) override { return inner_.TextHeight(s); }
    void Ellipse(int l, int t, int r, int b) override {
        inner_.Ellipse(l, t, r, b);
        view_.update();
    }
    void Polygon(const std::vector<CanvasPoint>& points) override {
        inner_.Polygon(points);
        view_.update();
    }
    void SetPixel(int x, int y, Color c) override {
        inner_.SetPixel(x, y, c);
        view_.update();
    }
    Color Pixel(int x, int y) const override { return inner_.Pixel(x, y); }
    QImage ToImage() const override { return inner_.ToImage(); }
    Color CurrentPenColor() const override { return inner_.CurrentPenColor(); }
    int CurrentPenWidth() const override { return inner_.CurrentPenWidth(); }
    PenStyle CurrentPenStyle() const override { return inner_.CurrentPenStyle(); }
    Color CurrentBrushColor() const override { return inner_.CurrentBrushColor(); }

  private:
    ImageCanvas& inner_;
    QWidget& view_;
};

ImageView::ImageView(int width, int height, QWidget* parent)
    : QWidget(parent),
      canvas_(std::make_unique<ImageCanvas>(width, height)),
      refreshing_(std::make_unique<Refreshing>(*canvas_, *this)) {
    setFixedSize(canvas_->Width(), canvas_->Height());
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ImageView::~ImageView() = default;

Canvas& ImageView::Picture() {
    return *refreshing_;
}

QImage ImageView::Image() const {
    return canvas_->ToImage();
}

void ImageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, canvas_->Image());
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMoved(event->position().toPoint().x(), event->position().toPoint().y());
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    emit MousePressed(event->button(), event->position().toPoint().x(), event->position().toPoint().y());
}

void ImageView::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseReleased(event->button(), event->position().toPoint().x(), event->position().toPoint().y());
}

}  // namespace wavora
