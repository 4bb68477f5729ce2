#pragma once
// Every drawing of the program goes through a Canvas. ImageCanvas paints a QImage; the tests use a
// recording canvas that keeps the calls. Coordinates are pixels, y downwards; text is placed by its
// top-left corner. Colours are 24-bit values in blue-green-red order (0x0000FF is red).

#include <cstdint>
#include <string>
#include <vector>

class QImage;

namespace wavora {

using Color = uint32_t;  // 0x00BBGGRR

inline constexpr Color kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF, kGreen = 0x008000,
                       kLime = 0x00FF00, kBlue = 0xFF0000, kYellow = 0x00FFFF, kFuchsia = 0xFF00FF,
                       kAqua = 0xFFFF00, kGray = 0x808080, kSilver = 0xC0C0C0, kNavy = 0x800000,
                       kMaroon = 0x000080, kOlive = 0x008080, kPurple = 0x800080, kTeal = 0x808000;

enum class PenStyle { Solid, Dot, Dash, DashDot };

struct CanvasPoint {
    int X = 0, Y = 0;
    bool operator==(const CanvasPoint&) const = default;
};

class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;

    virtual void SetPenColor(Color c) = 0;
    virtual void SetPenWidth(int w) = 0;
    virtual void SetPenStyle(PenStyle s) = 0;
    virtual void SetXorMode(bool on) = 0;  // lines and shapes invert what they cross
    virtual void SetBrushColor(Color c) = 0;
    virtual void SetFont(const std::string& name, int pointSize) = 0;
    virtual void SetFontColor(Color c) = 0;

    // What is set now, so a drawing can change the pen for a moment and put it back.
    virtual Color CurrentPenColor() const = 0;
    virtual int CurrentPenWidth() const = 0;
    virtual PenStyle CurrentPenStyle() const = 0;
    virtual Color CurrentBrushColor() const = 0;

    // Text is drawn on a box of the brush colour unless the text background is transparent.
    virtual void SetTextTransparent(bool on) { (void)on; }

    virtual void FillRect(int left, int top, int right, int bottom) = 0;  // right and bottom excluded
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;  // the end pixel is not drawn
    virtual void TextOut(int x, int y, const std::string& utf8) = 0;
    virtual int TextWidth(const std::string& utf8) = 0;
    virtual int TextHeight(const std::string& utf8) = 0;
    // Ellipse and Polygon are filled with the brush and outlined with the pen; the ellipse fits the
    // box with its right and bottom edges excluded.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    virtual void Polygon(const std::vector<CanvasPoint>& points) = 0;
    virtual void SetPixel(int x, int y, Color c) = 0;
    virtual Color Pixel(int x, int y) const = 0;

    // The picture as an image (for the clipboard and PNG files).
    virtual QImage ToImage() const = 0;
};

}  // namespace wavora
