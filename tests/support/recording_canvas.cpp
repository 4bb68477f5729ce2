#include "support/recording_canvas.h"

#include <QImage>

namespace wavora::test {

std::vector<std::string> RecordingCanvas::TextStrings() const {
    std::vector<std::string> out;
    for (const auto& t : Texts) out.push_back(t.Text);
    return out;
}

const RecordedText* RecordingCanvas::FindText(const std::string& s) const {
    for (const auto& t : Texts)
        if (t.Text == s) return &t;
    return nullptr;
}

std::vector<RecordedLine> RecordingCanvas::LinesWithStyle(PenStyle s) const {
    std::vector<RecordedLine> out;
    for (const auto& l : Lines)
        if (l.Style == s) out.push_back(l);
    return out;
}

std::vector<RecordedLine> RecordingCanvas::LinesIn(Color pen) const {
    std::vector<RecordedLine> out;
    for (const auto& l : Lines)
        if (l.PenColor == pen && !(l.From.Y <= 5 && l.To.Y <= 5)) out.push_back(l);
    return out;
}

int RecordingCanvas::Fills() const {
    int n = 0;
    for (const auto& s : Shapes) n += s.What == RecordedShape::Fill;
    return n;
}

void RecordingCanvas::Forget() {
    Texts.clear();
    Lines.clear();
    Shapes.clear();
}

void RecordingCanvas::FillRect(int left, int top, int right, int bottom) {
    Shapes.push_back({RecordedShape::Fill, {{left, top}, {right, bottom}}, brush_, pen_});
}

void RecordingCanvas::LineTo(int x, int y) {
    Lines.push_back({at_, {x, y}, pen_, penWidth_, style_, xor_});
    at_ = {x, y};
}

void RecordingCanvas::TextOut(int x, int y, const std::string& utf8) {
    Texts.push_back({x, y, utf8, font_, brush_, transparent_});
}

int RecordingCanvas::TextWidth(const std::string& utf8) {
    int chars = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++chars;
    return chars * charWidth_;
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom) {
    Shapes.push_back({RecordedShape::Ellipse, {{left, top}, {right, bottom}}, brush_, pen_});
}

void RecordingCanvas::Polygon(const std::vector<CanvasPoint>& points) {
    Shapes.push_back({RecordedShape::Polygon, points, brush_, pen_});
}

void RecordingCanvas::SetPixel(int x, int y, Color c) {
    Shapes.push_back({RecordedShape::Pixel, {{x, y}}, c, c});
}

QImage RecordingCanvas::ToImage() const {
    QImage img(width_, height_, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

}  // namespace wavora::test
