#pragma once
// A Canvas for the tests that keeps every drawing call, so a test can ask which labels a frame
// wrote and where, which lines it drew and with which pen. Text is measured as a fixed-pitch font
// (6 × 12 pixels per character unless the test says otherwise), so positions are easy to predict.

#include <string>
#include <vector>

#include "draw/canvas.h"

namespace wavora::test {

struct RecordedText {
    int X = 0, Y = 0;
    std::string Text;
    Color FontColor = kBlack;
    Color Background = kWhite;
    bool Transparent = false;
};

struct RecordedLine {
    CanvasPoint From, To;
    Color PenColor = kBlack;
    int Width = 1;
    PenStyle Style = PenStyle::Solid;
    bool Xor = false;
};

struct RecordedShape {
    enum Kind { Fill, Ellipse, Polygon, Pixel } What = Fill;
    std::vector<CanvasPoint> Points;  // a rectangle's or box's corners, a polygon's points
    Color Brush = kWhite;
    Color Pen = kBlack;
};

class RecordingCanvas : public Canvas {
  public:
    static constexpr int kCharWidth = 6, kCharHeight = 12;

    RecordingCanvas(int width = 300, int height = 300, int charWidth = kCharWidth,
                    int charHeight = kCharHeight)
        : width_(width), height_(height), charWidth_(charWidth), charHeight_(charHeight) {}

    std::vector<RecordedText> Texts;
    std::vector<RecordedLine> Lines;
    std::vector<RecordedShape> Shapes;
    std::string FontName;
    int FontSize = 0;

    // The texts in the order written, and the first text equal to s (nullptr if none).
    std::vector<std::string> TextStrings() const;
    const RecordedText* FindText(const std::string& s) const;
    // Lines drawn in one style (and of at least the given width).
    std::vector<RecordedLine> LinesWithStyle(PenStyle s) const;
    // Lines in one pen colour, leaving out the waveform ruler's ticks along the top edge.
    std::vector<RecordedLine> LinesIn(Color pen) const;
    // How many rectangles were filled.
    int Fills() const;
    void Forget();

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetPenColor(Color c) override { pen_ = c; }
    void SetPenWidth(int w) override { penWidth_ = w; }
    void SetPenStyle(PenStyle s) override { style_ = s; }
    void SetXorMode(bool on) override { xor_ = on; }
    void SetBrushColor(Color c) override { brush_ = c; }
    void SetFont(const std::string& name, int pointSize) override { FontName = name, FontSize = pointSize; }
    void SetFontColor(Color c) override { font_ = c; }
    void SetTextTransparent(bool on) override { transparent_ = on; }
    void FillRect(int left, int top, int right, int bottom) override;
    void MoveTo(int x, int y) override { at_ = {x, y}; }
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const std::string& utf8) override;
    int TextWidth(const std::string& utf8) override;
    int TextHeight(const std::string&) override { return charHeight_; }
    void Ellipse(int left, int top, int right, int bottom) override;
    void Polygon(const std::vector<CanvasPoint>& points) override;
    void SetPixel(int x, int y, Color c) override;
    Color Pixel(int, int) const override { return kWhite; }
    QImage ToImage() const override;

    Color CurrentPenColor() const override { return pen_; }
    int CurrentPenWidth() const override { return penWidth_; }
    PenStyle CurrentPenStyle() const override { return style_; }
    Color CurrentBrushColor() const override { return brush_; }

  private:
    int width_, height_, charWidth_, charHeight_;
    Color pen_ = kBlack, brush_ = kWhite, font_ = kBlack;
    int penWidth_ = 1;
    PenStyle style_ = PenStyle::Solid;
    bool xor_ = false, transparent_ = false;
    CanvasPoint at_;
};

}  // namespace wavora::test
