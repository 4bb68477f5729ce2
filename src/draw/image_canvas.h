#pragma once
// A Canvas on a QImage. One-pixel lines are set pixel by pixel like the classic raster drawing
// they imitate (no anti-aliasing, the end pixel of LineTo left out, dotted and dashed patterns
// restarting at each line); wider lines, shapes and text go through QPainter without anti-aliasing.
// XOR mode inverts the pixels a line or shape covers, so drawing the same figure twice restores
// the picture.

#include <QFont>
#include <QImage>
#include <memory>
#include <string>

#include "draw/canvas.h"

class QPainter;

namespace wavora {

// 0x00BBGGRR to a QRgb (0xAARRGGBB, opaque) and back.
uint32_t ToQRgb(Color c);
Color FromQRgb(uint32_t rgb);

// The installed font family that stands in for a font name of the program ("ＭＳゴシック" and
// "MS Gothic" become the fixed-pitch Japanese Gothic, "ＭＳ Ｐゴシック" its proportional sister).
QFont MapFont(const std::string& name, int pointSize);

class ImageCanvas : public Canvas {
  public:
    ImageCanvas(int width, int height);  // white
    explicit ImageCanvas(const QImage& image);
    ~ImageCanvas() override;
    ImageCanvas(const ImageCanvas&) = delete;
    ImageCanvas& operator=(const ImageCanvas&) = delete;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }

    void SetPenColor(Color c) override { penColor_ = c; }
    void SetPenWidth(int w) override { penWidth_ = w < 1 ? 1 : w; }
    void SetPenStyle(PenStyle s) override { penStyle_ = s; }
    void SetXorMode(bool on) override { xor_ = on; }
    void SetBrushColor(Color c) override { brushColor_ = c; }
    void SetFont(const std::string& name, int pointSize) override;
    void SetFontColor(Color c) override { fontColor_ = c; }
    void SetTextTransparent(bool on) override { textTransparent_ = on; }

    void FillRect(int left, int top, int right, int bottom) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const std::string& utf8) override;
    int TextWidth(const std::string& utf8) override;
    int TextHeight(const std::string& utf8) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Polygon(const std::vector<CanvasPoint>& points) override;
    void SetPixel(int x, int y, Color c) override;
    Color Pixel(int x, int y) const override;  // white outside the picture
    QImage ToImage() const override;

    // The picture itself (for painting it on a widget); valid until the next drawing call.
    const QImage& Image() const;
    // A new size: what fits is kept, the rest is white.
    void Resize(int width, int height);

    Color CurrentPenColor() const override { return penColor_; }
    int CurrentPenWidth() const override { return penWidth_; }
    PenStyle CurrentPenStyle() const override { return penStyle_; }
    Color CurrentBrushColor() const override { return brushColor_; }
    bool XorMode() const { return xor_; }
    CanvasPoint PenPosition() const { return pen_; }

  private:
    QPainter& Painter();
    const QFont& Font();
    void EndPainter() const;
    void PlotLinePixel(int x, int y, Color c);
    void ThinLine(int x0, int y0, int x1, int y1);
    // Draws a figure through QPainter; in XOR mode it is drawn into a mask and the covered
    // pixels are inverted once.
    template <typename Draw>
    void PaintFigure(const QRect& bounds, Draw&& draw);

    QImage image_;
    mutable std::unique_ptr<QPainter> painter_;
    CanvasPoint pen_;
    Color penColor_ = kBlack, brushColor_ = kWhite, fontColor_ = kBlack;
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    bool xor_ = false, textTransparent_ = false;
    std::string fontName_ = "ＭＳゴシック";
    int fontSize_ = 9;
    QFont font_;
    bool fontReady_ = false;
};

}  // namespace wavora
