#pragma once
// A canvas that keeps the drawing calls of the waveform display: lines with their pen colour and
// texts with their places. Text is 8 pixels per character and 16 high.

#include <QImage>
#include <string>
#include <vector>

#include "graph/canvas.h"

namespace wavora::uitest {

struct LoggedLine {
    CanvasPoint From, To;
    Color Pen;
};

struct LoggedText {
    int X, Y;
    std::string Text;
};

class LoggingCanvas : public Canvas {
  public:
    LoggingCanvas(int width, int height) : width_(width), height_(height) {}

    std::vector<LoggedLine> Lines;
    std::vector<LoggedText> Texts;
    int Fills = 0;

    const LoggedText* Find(const std::string& text) const {
        for (const LoggedText& t : Texts)
            if (t.Text == text) return &t;
        return nullptr;
    }
    // Lines in a pen colour, leaving out the ruler ticks along the top edge.
    std::vector<LoggedLine> LinesIn(Color pen) const {
        std::vector<LoggedLine> out;
        for (const LoggedLine& l : Lines)
            if (l.Pen == pen && !(l.From.Y <= 5 && l.To.Y <= 5)) out.push_back(l);
        return out;
    }

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetPenColor(Color c) override { pen_ = c; }
    void SetPenWidth(int) override {}
    void SetPenStyle(PenStyle) override {}
    void SetXorMode(bool) override {}
    void SetBrushColor(Color c) override { brush_ = c; }
    void SetFont(const std::string&, int) override {}
    void SetFontColor(Color) override {}
    void FillRect(int, int, int, int) override { ++Fills; }
    void MoveTo(int x, int y) override { at_ = {x, y}; }
    void LineTo(int x, int y) override {
        Lines.push_back({at_, {x, y}, pen_});
        at_ = {x, y};
    }
    void TextOut(int x, int y, const std::string& s) override { Texts.push_back({x, y, s}); }
    int TextWidth(const std::string& s) override { return 8 * static_cast<int>(s.size()); }
    int TextHeight(const std::string&) override { return 16; }
    void Ellipse(int, int, int, int) override {}
    void Polygon(const std::vector<CanvasPoint>&) override {}
    void SetPixel(int, int, Color) override {}
    Color Pixel(int, int) const override { return kWhite; }
    QImage ToImage() const override { return QImage(); }
    Color CurrentPenColor() const override { return pen_; }
    int CurrentPenWidth() const override { return 1; }
    PenStyle CurrentPenStyle() const override { return PenStyle::Solid; }
    Color CurrentBrushColor() const override { return brush_; }

  private:
    int width_, height_;
    CanvasPoint at_;
    Color pen_ = kBlack, brush_ = kWhite;
};

}  // namespace wavora::uitest
