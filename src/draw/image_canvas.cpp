#include "draw/image_canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>

namespace wavora {

namespace {

// On-off runs of the one-pixel pen styles, as the classic raster pens draw them.
constexpr int kDotRuns[] = {3, 3};
constexpr int kDashRuns[] = {18, 6};
constexpr int kDashDotRuns[] = {9, 6, 3, 6};

std::span<const int> Runs(PenStyle s) {
    switch (s) {
        case PenStyle::Dot:
            return kDotRuns;
        case PenStyle::Dash:
            return kDashRuns;
        case PenStyle::DashDot:
            return kDashDotRuns;
        case PenStyle::Solid:
            break;
    }
    return {};
}

bool PatternOn(std::span<const int> runs, long step) {
    if (runs.empty()) return true;
    int period = 0;
    for (int r : runs) period += r;
    long pos = step % period;
    for (size_t i = 0; i < runs.size(); ++i) {
        if (pos < runs[i]) return i % 2 == 0;
        pos -= runs[i];
    }
    return true;
}

QColor ToQColor(Color c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QString ToQt(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

bool HaveGui() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// Coordinates beyond this are clipped before a line is stepped through pixel by pixel.
constexpr int kFarAway = 1 << 15;

// Cuts the segment to the rectangle; false when nothing of it lies inside.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top, double right,
                 double bottom) {
    double t0 = 0, t1 = 1, dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy, nx1 = x0 + t1 * dx, ny1 = y0 + t1 * dy;
    x0 = nx0, y0 = ny0, x1 = nx1, y1 = ny1;
    return true;
}

}  // namespace

uint32_t ToQRgb(Color c) {
    return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

Color FromQRgb(uint32_t rgb) {
    return static_cast<Color>(qRed(rgb)) | static_cast<Color>(qGreen(rgb)) << 8 |
           static_cast<Color>(qBlue(rgb)) << 16;
}

QFont MapFont(const std::string& name, int pointSize) {
    static const struct {
        const char* names[5];
        const char* families[3];
        bool fixed;
    } kMap[] = {
        {{"ＭＳゴシック", "ＭＳ ゴシック", "MS Gothic", "MS ゴシック", "Osaka－等幅"},
         {"IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP"},
         true},
        {{"ＭＳ Ｐゴシック", "ＭＳＰゴシック", "MS PGothic", "MS UI Gothic", "ＭＳ ＵＩ ゴシック"},
         {"IPAPGothic", "IPA Pゴシック", "Noto Sans CJK JP"},
         false},
        {{"ＭＳ明朝", "ＭＳ 明朝", "MS Mincho", "MS 明朝", nullptr}, {"IPAMincho", "IPA明朝", nullptr}, true},
        {{"ＭＳ Ｐ明朝", "ＭＳＰ明朝", "MS PMincho", nullptr, nullptr},
         {"IPAPMincho", "IPA P明朝", nullptr},
         false},
    };
    QFont font;
    bool mapped = false;
    if (HaveGui()) {
        const QStringList installed = QFontDatabase::families();
        for (const auto& entry : kMap) {
            bool match = false;
            for (const char* n : entry.names)
                if (n && name == n) match = true;
            if (!match) continue;
            mapped = true;
            bool found = false;
            for (const char* f : entry.families)
                if (f && installed.contains(QString::fromUtf8(f), Qt::CaseInsensitive)) {
                    font.setFamily(QString::fromUtf8(f));
                    found = true;
                    break;
                }
            if (!found)
                font = QFontDatabase::systemFont(entry.fixed ? QFontDatabase::FixedFont
                                                             : QFontDatabase::GeneralFont);
            break;
        }
    }
    // Any other name is left to the system's font substitution.
    if (!mapped) font.setFamily(ToQt(name));
    // Point sizes are meant for a 96 dpi screen, whatever the image's resolution.
    int size = pointSize > 0 ? pointSize : 9;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size * 96.0 / 72.0))));
    font.setHintingPreference(QFont::PreferFullHinting);
    // Small scale labels read best crisp, as on the classic screens the layouts were made for.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

ImageCanvas::ImageCanvas(int width, int height)
    : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32) {
    image_.fill(Qt::white);
}

ImageCanvas::ImageCanvas(const QImage& image) : image_(image.convertToFormat(QImage::Format_RGB32)) {}

ImageCanvas::~ImageCanvas() {
    EndPainter();
}

QPainter& ImageCanvas::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
    }
    return *painter_;
}

void ImageCanvas::EndPainter() const {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

const QFont& ImageCanvas::Font() {
    if (!fontReady_) {
        font_ = MapFont(fontName_, fontSize_);
        fontReady_ = true;
    }
    return font_;
}

void ImageCanvas::SetFont(const std::string& name, int pointSize) {
    fontName_ = name;
    fontSize_ = pointSize;
    fontReady_ = false;
}

const QImage& ImageCanvas::Image() const {
    EndPainter();
    return image_;
}

QImage ImageCanvas::ToImage() const {
    EndPainter();
    return image_;
}

void ImageCanvas::Resize(int width, int height) {
    EndPainter();
    width = std::max(width, 0), height = std::max(height, 0);
    if (width == image_.width() && height == image_.height()) return;
    QImage next(width, height, QImage::Format_RGB32);
    next.fill(Qt::white);
    int w = std::min(width, image_.width()), h = std::min(height, image_.height());
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const QRgb*>(image_.constScanLine(y)), w,
                    reinterpret_cast<QRgb*>(next.scanLine(y)));
    image_ = next;
}

void ImageCanvas::FillRect(int left, int top, int right, int bottom) {
    left = std::max(left, 0), top = std::max(top, 0);
    right = std::min(right, Width()), bottom = std::min(bottom, Height());
    if (left >= right || top >= bottom) return;
    QRgb rgb = ToQRgb(brushColor_);
    for (int y = top; y < bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(line + left, line + right, rgb);
    }
}

void ImageCanvas::SetPixel(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = ToQRgb(c);
}

Color ImageCanvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kWhite;
    return FromQRgb(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void ImageCanvas::PlotLinePixel(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    QRgb& p = reinterpret_cast<QRgb*>(image_.scanLine(y))[x];
    p = xor_ ? (p ^ 0x00FFFFFFu) : ToQRgb(c);
}

void ImageCanvas::MoveTo(int x, int y) {
    pen_ = {x, y};
}

void ImageCanvas::LineTo(int x, int y) {
    CanvasPoint from = pen_;
    pen_ = {x, y};
    if (penWidth_ <= 1) {
        ThinLine(from.X, from.Y, x, y);
        return;
    }
    // Wide pens are always solid and have round ends that cover both end points.
    QRect bounds = QRect(QPoint(std::min(from.X, x), std::min(from.Y, y)),
                         QPoint(std::max(from.X, x), std::max(from.Y, y)))
                       .adjusted(-penWidth_, -penWidth_, penWidth_, penWidth_);
    PaintFigure(bounds, [&](QPainter& p, const QColor& color) {
        p.setPen(QPen(color, penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(from.X, from.Y, x, y);
    });
}

// Bresenham's line from (x0, y0) towards (x1, y1), the end pixel left out; a pen pattern starts
// afresh with each line.
void ImageCanvas::ThinLine(int x0, int y0, int x1, int y1) {
    std::span<const int> runs = Runs(penStyle_);
    long phase = 0;
    bool drawEnd = false;
    if (std::abs(x0) > kFarAway || std::abs(y0) > kFarAway || std::abs(x1) > kFarAway ||
        std::abs(y1) > kFarAway) {
        double cx0 = x0, cy0 = y0, cx1 = x1, cy1 = y1;
        if (!ClipSegment(cx0, cy0, cx1, cy1, -2, -2, Width() + 2, Height() + 2)) return;
        int nx0 = static_cast<int>(std::lround(cx0)), ny0 = static_cast<int>(std::lround(cy0));
        int nx1 = static_cast<int>(std::lround(cx1)), ny1 = static_cast<int>(std::lround(cy1));
        phase = std::max(std::labs(static_cast<long>(nx0) - x0), std::labs(static_cast<long>(ny0) - y0));
        drawEnd = nx1 != x1 || ny1 != y1;
        x0 = nx0, y0 = ny0, x1 = nx1, y1 = ny1;
    }
    int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int steps = std::max(dx, dy) + (drawEnd ? 1 : 0);
    int err = dx - dy;
    int x = x0, y = y0;
    for (int i = 0; i < steps; ++i) {
        if (PatternOn(runs, phase + i)) PlotLinePixel(x, y, penColor_);
        int e2 = 2 * err;
        if (e2 > -dy) err -= dy, x += sx;
        if (e2 < dx) err += dx, y += sy;
    }
}

template <typename Draw>
void ImageCanvas::PaintFigure(const QRect& bounds, Draw&& draw) {
    if (!xor_) {
        draw(Painter(), ToQColor(penColor_));
        return;
    }
    QRect area = bounds.intersected(image_.rect());
    if (area.isEmpty()) return;
    QImage mask(area.size(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(-area.topLeft());
        draw(p, QColor(Qt::black));
    }
    for (int y = 0; y < area.height(); ++y) {
        const QRgb* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < area.width(); ++x)
            if (qAlpha(m[x]) != 0) line[x] ^= 0x00FFFFFFu;
    }
}

namespace {

QPen OutlinePen(const QColor& color, int width, PenStyle style) {
    QPen pen(color, std::max(width, 1), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    std::span<const int> runs = Runs(style);
    if (width <= 1 && !runs.empty()) {
        QList<qreal> pattern;
        for (int r : runs) pattern << r;
        pen.setDashPattern(pattern);
        pen.setCapStyle(Qt::FlatCap);
    }
    return pen;
}

}  // namespace

void ImageCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right - left < 2 || bottom - top < 2) return;
    QRect box(left, top, right - left - 1, bottom - top - 1);
    QColor brush = ToQColor(brushColor_);
    PaintFigure(box.adjusted(-penWidth_, -penWidth_, penWidth_, penWidth_),
                [&](QPainter& p, const QColor& color) {
                    p.setPen(OutlinePen(color, penWidth_, penStyle_));
                    p.setBrush(xor_ ? color : brush);
                    p.drawEllipse(box);
                });
}

void ImageCanvas::Polygon(const std::vector<CanvasPoint>& points) {
    if (points.size() < 2) return;
    QPolygon poly;
    for (const auto& pt : points) poly << QPoint(pt.X, pt.Y);
    QColor brush = ToQColor(brushColor_);
    PaintFigure(poly.boundingRect().adjusted(-penWidth_, -penWidth_, penWidth_, penWidth_),
                [&](QPainter& p, const QColor& color) {
                    p.setPen(OutlinePen(color, penWidth_, penStyle_));
                    p.setBrush(xor_ ? color : brush);
                    p.drawPolygon(poly, Qt::OddEvenFill);
                });
}

void ImageCanvas::TextOut(int x, int y, const std::string& utf8) {
    if (utf8.empty() || !HaveGui()) return;
    QString text = ToQt(utf8);
    QFontMetrics fm(Font());
    if (!textTransparent_) {
        int w = fm.horizontalAdvance(text);
        FillRect(x, y, x + w, y + fm.height());
    }
    QPainter& p = Painter();
    p.setFont(Font());
    p.setPen(ToQColor(fontColor_));
    p.setBrush(Qt::NoBrush);
    p.drawText(QPoint(x, y + fm.ascent()), text);
}

int ImageCanvas::TextWidth(const std::string& utf8) {
    if (!HaveGui()) return 6 * static_cast<int>(ToQt(utf8).size());
    return QFontMetrics(Font()).horizontalAdvance(ToQt(utf8));
}

int ImageCanvas::TextHeight(const std::string&) {
    if (!HaveGui()) return 12;
    return QFontMetrics(Font()).height();
}

}  // namespace wavora
