#include "graph/my_graph.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/prompts.h"
#include "draw/image_canvas.h"
#include "draw/png_writer.h"

namespace wavora {

TMyGraph::TMyGraph(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts), canvas_(std::make_unique<ImageCanvas>(300, 300)) {
    resize(300, 300);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TMyGraph::~TMyGraph() = default;

Canvas& TMyGraph::GraphCanvas() {
    SyncPicture();
    return *canvas_;
}

Canvas& TMyGraph::Surface() {
    return GraphCanvas();
}

void TMyGraph::Changed() {
    update();
}

void TMyGraph::Report(const std::optional<Failure>& failure) {
    if (failure) prompts_.Show(*failure);
}

void TMyGraph::SetCanvas(std::unique_ptr<Canvas> canvas) {
    if (canvas) canvas_ = std::move(canvas);
    update();
}

QImage TMyGraph::Picture() {
    SyncPicture();
    return canvas_->ToImage();
}

// The picture follows the control's size; what fits is kept.
void TMyGraph::SyncPicture() {
    if (auto* image = dynamic_cast<ImageCanvas*>(canvas_.get()))
        if (image->Width() != width() || image->Height() != height()) image->Resize(width(), height());
}

void TMyGraph::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SyncPicture();
}

void TMyGraph::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), Qt::white);
    if (auto* image = dynamic_cast<ImageCanvas*>(canvas_.get()))
        p.drawImage(0, 0, image->Image());
    else
        p.drawImage(0, 0, canvas_->ToImage());
}

void TMyGraph::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MousePressed(event->button(), p.x(), p.y());
}

void TMyGraph::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseMoved(p.x(), p.y());
}

void TMyGraph::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit MouseReleased(event->button(), p.x(), p.y());
}

void TMyGraph::Copy() {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(Picture());
}

Outcome TMyGraph::Save_PNG(const std::string& fileName) {
    return WritePng(fileName, Picture());
}

}  // namespace wavora
