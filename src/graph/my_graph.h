#pragma once
// TMyGraph: the chart control. The chart itself (frame, scales, series) is the Canvas-only
// GraphPlot; this control gives it a picture the size of the widget, repaints after each drawing,
// shows the chart's messages, reports the mouse, and hands its picture to the clipboard or a PNG
// file.

#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "draw/graph_plot.h"
#include "record/failure.h"

namespace wavora {

class Prompts;

class TMyGraph : public QWidget, public GraphPlot {
    Q_OBJECT
    Q_PROPERTY(int NGridX MEMBER NGridX)
    Q_PROPERTY(int NGridY MEMBER NGridY)
    Q_PROPERTY(int WidthX MEMBER WidthX)
    Q_PROPERTY(int HeightY MEMBER HeightY)
    Q_PROPERTY(int OriginX MEMBER OriginX)
    Q_PROPERTY(int OriginY MEMBER OriginY)
    Q_PROPERTY(bool LinearX MEMBER LinearX)
    Q_PROPERTY(bool LinearY MEMBER LinearY)
    Q_PROPERTY(float SValueX MEMBER SValueX)
    Q_PROPERTY(float SValueY MEMBER SValueY)
    Q_PROPERTY(float VValueX MEMBER VValueX)
    Q_PROPERTY(float VValueY MEMBER VValueY)
    Q_PROPERTY(bool SubAxis MEMBER SubAxis)
    Q_PROPERTY(bool OverWrite MEMBER OverWrite)
    Q_PROPERTY(bool LeftScale MEMBER LeftScale)
    Q_PROPERTY(int SubX MEMBER SubX)
    Q_PROPERTY(int SubY MEMBER SubY)
    Q_PROPERTY(QString TitleX READ TitleXText WRITE SetTitleXText)
    Q_PROPERTY(QString TitleY READ TitleYText WRITE SetTitleYText)

  public:
    // The chart's messages are shown through `prompts`.
    explicit TMyGraph(Prompts& prompts, QWidget* parent = nullptr);
    ~TMyGraph() override;

    // The picture to the system clipboard as an image.
    void Copy();
    // The picture as a PNG file under exactly the name given (an existing file is replaced).
    [[nodiscard]] Outcome Save_PNG(const std::string& fileName);

    // The canvas everything is drawn on: set pen, brush and font here. A test may put its own in.
    Canvas& GraphCanvas();
    void SetCanvas(std::unique_ptr<Canvas> canvas);
    QImage Picture();

    QString TitleXText() const { return QString::fromStdString(TitleX); }
    void SetTitleXText(const QString& s) { TitleX = s.toStdString(); }
    QString TitleYText() const { return QString::fromStdString(TitleY); }
    void SetTitleYText(const QString& s) { TitleY = s.toStdString(); }

  signals:
    // The mouse over the chart, in picture pixels (a move only while a button is held).
    void MousePressed(Qt::MouseButton button, int x, int y);
    void MouseMoved(int x, int y);
    void MouseReleased(Qt::MouseButton button, int x, int y);

  protected:
    Canvas& Surface() override;
    void Changed() override;
    void Report(const std::optional<Failure>& failure) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void SyncPicture();

    Prompts& prompts_;
    std::unique_ptr<Canvas> canvas_;
};

}  // namespace wavora
