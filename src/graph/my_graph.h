#pragma once
// TMyGraph: a picture control that draws a chart frame (grid, sub-divisions, scale labels and two
// axis titles) on linear or logarithmic axes, plots series into it as lines or markers, and hands
// its picture to the clipboard or a PNG file. Everything about the frame is in its properties: set
// them (or let a scaling operation choose them), call DrawWaku, set the pen, plot.

#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "graph/axis_rules.h"
#include "graph/canvas.h"
#include "record/failure.h"

namespace wavora {

class TMyGraph : public QWidget {
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
    explicit TMyGraph(QWidget* parent = nullptr);
    ~TMyGraph() override;

    int NGridX = 4;    // grid intervals along X, at least 1
    int NGridY = 4;    // grid intervals along Y, at least 1
    int WidthX = 250;  // nominal plot-area width in pixels
    int HeightY = 250;
    int OriginX = 35;  // canvas position of the plot area's lower-left corner
    int OriginY = 270;
    bool LinearX = true;
    bool LinearY = true;
    float SValueX = 0;  // value at the origin (a logarithmic axis needs it non-zero)
    float SValueY = 0;
    float VValueX = 5;  // value per grid interval, or ratio per interval on a logarithmic axis
    float VValueY = 10;
    bool SubAxis = true;     // sub-divisions as dotted lines across the plot (else short ticks)
    bool OverWrite = false;  // draw the frame over the picture instead of on white
    bool LeftScale = true;   // Y labels and title at the left (else at the right)
    int SubX = 5;            // sub-divisions per grid interval on a linear axis
    int SubY = 5;
    std::string TitleX = "TitleX [unit]";
    std::string TitleY = "TitleY [unit]";

    // Frames.
    void DrawWaku();
    // The same frame with SubX and SubY chosen from the steps and every label of an axis written
    // with one number of decimals.
    void DrawWakuN();

    // Automatic axes from data that are not negative, and from data that may be negative.
    void XScaleUnit(int n, const float* values);
    void YScaleUnit(int n, const float* values);
    void XScaleUnit1(int n, const float* values);
    void YScaleUnit1(int n, const float* values);

    // Series, in the pen and brush set on the canvas. Marker types: 0 circle, 1 triangle, 2 square,
    // 3 diamond, 4 diagonal cross, 5 upright cross; size in pixels.
    void DrawGraph(int n, const float* x, const float* y);
    void PlotGraph(int n, const float* x, const float* y, int type, int size);
    void SkipGraph(int n, const float* x, const float* y, int type, int size, int skip);
    void DrawGraph(const std::vector<float>& x, const std::vector<float>& y);
    void PlotGraph(const std::vector<float>& x, const std::vector<float>& y, int type, int size);
    void SkipGraph(const std::vector<float>& x, const std::vector<float>& y, int type, int size, int skip);

    // Fills the whole picture; the brush keeps the colour.
    void Clear(Color color);
    // The picture to the system clipboard as an image.
    void Copy();
    // The picture as a PNG file under exactly the name given (an existing file is replaced).
    [[nodiscard]] Outcome Save_PNG(const std::string& fileName);

    // The canvas everything is drawn on: set pen, brush and font here. A test may put its own in.
    Canvas& GraphCanvas();
    void SetCanvas(std::unique_ptr<Canvas> canvas);
    QImage Picture();

    AxisFields XAxis() const { return {NGridX, LinearX, SValueX, VValueX}; }
    AxisFields YAxis() const { return {NGridY, LinearY, SValueY, VValueY}; }

    QString TitleXText() const { return QString::fromStdString(TitleX); }
    void SetTitleXText(const QString& s) { TitleX = s.toStdString(); }
    QString TitleYText() const { return QString::fromStdString(TitleY); }
    void SetTitleYText(const QString& s) { TitleY = s.toStdString(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void DrawFrame(bool fixedDecimals);
    void SyncPicture();
    void Marker(int type, int px, int py, int size);
    void Markers(int n, const float* x, const float* y, int type, int size, int every, bool solid);
    std::optional<int> MapX(float x) const;
    std::optional<int> MapY(float y) const;

    std::unique_ptr<Canvas> canvas_;
};

}  // namespace wavora
