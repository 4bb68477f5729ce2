#include "app/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace wavora::pictures {

namespace {

constexpr int kIcon = 24;

QPixmap Blank(int w, int h) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

// A sine trace across a rectangle.
QPainterPath Wave(QRectF r, double cycles, double amplitude, double decay = 0.0) {
    QPainterPath path;
    const int n = 48;
    for (int i = 0; i <= n; ++i) {
        double t = static_cast<double>(i) / n;
        double y = r.center().y() - amplitude * std::exp(-decay * t) * std::sin(2 * M_PI * cycles * t);
        QPointF p(r.left() + t * r.width(), y);
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    return path;
}

QIcon Make(void (*paint)(QPainter&)) {
    QPixmap pm = Blank(kIcon, kIcon);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    p.end();
    return QIcon(pm);
}

}  // namespace

QIcon CopyIcon() {
    return Make([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1.2));
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(3.5, 2.5, 12, 15));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8.5, 6.5, 12, 15));
        p.setPen(QPen(QColor(200, 0, 0), 1.4));
        p.drawPath(Wave(QRectF(10, 9, 9, 10), 1.5, 3.5));
    });
}

QIcon SaveIcon() {
    return Make([](QPainter& p) {
        p.setPen(QPen(QColor(20, 40, 90), 1.2));
        p.setBrush(QColor(60, 100, 170));
        QPainterPath disk;
        disk.moveTo(3, 3);
        disk.lineTo(18, 3);
        disk.lineTo(21, 6);
        disk.lineTo(21, 21);
        disk.lineTo(3, 21);
        disk.closeSubpath();
        p.drawPath(disk);
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(6.5, 3.5, 10, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 12.5, 13, 8));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 40, 90));
        p.drawRect(QRectF(13, 4.5, 2.5, 4));
        QFont f;
        f.setPixelSize(6);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(20, 40, 90));
        p.drawText(QRectF(5.5, 12.5, 13, 8), Qt::AlignCenter, "PNG");
    });
}

QIcon FilterIcon() {
    return Make([](QPainter& p) {
        // A noisy trace goes in, a smooth one comes out of the funnel.
        p.setPen(QPen(QColor(90, 90, 90), 1.2));
        p.setBrush(QColor(255, 220, 120));
        QPolygonF funnel;
        funnel << QPointF(5, 3) << QPointF(19, 3) << QPointF(13.5, 11) << QPointF(13.5, 17)
               << QPointF(10.5, 19) << QPointF(10.5, 11);
        p.drawPolygon(funnel);
        p.setPen(QPen(QColor(0, 0, 200), 1.3));
        p.drawPath(Wave(QRectF(2, 18, 20, 6), 1.0, 2.5));
    });
}

QIcon FormatIcon() {
    return Make([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1.3));
        p.drawLine(QPointF(4, 3), QPointF(4, 20));
        p.drawLine(QPointF(4, 20), QPointF(22, 20));
        p.setPen(QPen(QColor(150, 150, 150), 0.8, Qt::DotLine));
        for (int x = 8; x <= 20; x += 4) p.drawLine(QPointF(x, 4), QPointF(x, 20));
        for (int y = 6; y <= 16; y += 5) p.drawLine(QPointF(4, y), QPointF(22, y));
        p.setPen(QPen(QColor(200, 0, 0), 1.5));
        QPainterPath curve;
        curve.moveTo(4, 18);
        curve.cubicTo(8, 2, 11, 4, 13, 14);
        curve.cubicTo(15, 18, 18, 17, 22, 18);
        p.drawPath(curve);
    });
}

QIcon RunningIcon() {
    return Make([](QPainter& p) {
        // Spectra drawn one behind the other.
        const QColor colors[] = {QColor(0, 0, 200), QColor(0, 130, 0), QColor(200, 0, 0)};
        for (int i = 0; i < 3; ++i) {
            double dx = 6 - 3 * i, dy = 12 - 5 * i;
            QPainterPath s;
            s.moveTo(2 + dx, 10 + dy);
            s.cubicTo(5 + dx, 10 + dy, 6 + dx, 1 + dy, 8 + dx, 8 + dy);
            s.cubicTo(10 + dx, 11 + dy, 12 + dx, 6 + dy, 16 + dx, 10 + dy);
            p.setPen(QPen(colors[i], 1.4));
            p.setBrush(Qt::white);
            p.drawPath(s);
        }
    });
}

QIcon CorrIcon() {
    return Make([](QPainter& p) {
        p.setPen(QPen(QColor(120, 120, 120), 0.8));
        p.drawLine(QPointF(2, 13), QPointF(22, 13));
        p.drawLine(QPointF(12, 2), QPointF(12, 22));
        p.setPen(QPen(QColor(0, 120, 0), 1.5));
        p.drawPath(Wave(QRectF(12, 2, 10, 22), 1.5, 9, 2.5).translated(0, 0));
        QTransform mirror(-1, 0, 0, 1, 24, 0);
        p.drawPath(mirror.map(Wave(QRectF(12, 2, 10, 22), 1.5, 9, 2.5)));
    });
}

QIcon HistogramIcon() {
    return Make([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(2, 21.5), QPointF(22, 21.5));
        const int heights[] = {5, 12, 17, 9, 4};
        for (int i = 0; i < 5; ++i) {
            p.setBrush(i == 2 ? QColor(220, 60, 60) : QColor(80, 120, 200));
            p.drawRect(QRectF(3.5 + i * 3.6, 21.5 - heights[i], 3, heights[i]));
        }
    });
}

QIcon PeaksIcon() {
    return Make([](QPainter& p) {
        p.setPen(QPen(QColor(200, 0, 0), 1.5));
        QPainterPath s;
        s.moveTo(1, 20);
        s.lineTo(5, 18);
        s.lineTo(7, 6);
        s.lineTo(9, 18);
        s.lineTo(12, 16);
        s.lineTo(14, 10);
        s.lineTo(16, 19);
        p.drawPath(s);
        // Forward arrow: the analysis steps along the record.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 110, 0));
        QPolygonF arrow;
        arrow << QPointF(16, 3) << QPointF(23, 7) << QPointF(16, 11);
        p.drawPolygon(arrow);
    });
}

namespace {

QPixmap Indicator(const QColor& color, void (*paint)(QPainter&)) {
    QPixmap pm = Blank(26, 22);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color.darker(150), 1));
    p.setBrush(color);
    p.drawRoundedRect(QRectF(0.5, 0.5, 25, 21), 4, 4);
    paint(p);
    return pm;
}

}  // namespace

QPixmap FilterIndicator() {
    return Indicator(QColor(255, 230, 140), [](QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 180), 1.5));
        p.drawPath(Wave(QRectF(3, 3, 20, 16), 1.5, 5));
        p.setPen(QPen(Qt::black, 1));
        QFont f;
        f.setPixelSize(8);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 12, 25, 10), Qt::AlignRight, "F ");
    });
}

QPixmap IntegIndicator() {
    return Indicator(QColor(180, 230, 180), [](QPainter& p) {
        QFont f("serif");
        f.setPixelSize(18);
        f.setItalic(true);
        p.setFont(f);
        p.setPen(QColor(0, 80, 0));
        p.drawText(QRectF(0, 0, 26, 22), Qt::AlignCenter, QString::fromUtf8("\u222B"));
    });
}

QPixmap ClipIndicator() {
    return Indicator(QColor(240, 190, 190), [](QPainter& p) {
        p.setPen(QPen(QColor(150, 0, 0), 1.5));
        QPainterPath w = Wave(QRectF(3, 3, 20, 16), 1.5, 9);
        p.save();
        p.setClipRect(QRectF(0, 7, 26, 8));
        p.drawPath(w);
        p.restore();
        p.setPen(QPen(QColor(90, 90, 90), 0.8, Qt::DashLine));
        p.drawLine(QPointF(2, 7), QPointF(24, 7));
        p.drawLine(QPointF(2, 15), QPointF(24, 15));
    });
}

QPixmap TitlePicture(int width, int height) {
    QPixmap pm(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0, QColor(20, 50, 110));
    g.setColorAt(1, QColor(40, 110, 180));
    p.fillRect(pm.rect(), g);
    p.setPen(QPen(QColor(120, 220, 255, 150), 1.5));
    p.drawPath(Wave(QRectF(0, 0, width, height), 3.5, height * 0.3, 1.0));
    QFont f("DejaVu Sans");
    f.setBold(true);
    f.setPixelSize(height * 55 / 100);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(pm.rect(), Qt::AlignCenter, "WAVORA");
    return pm;
}

QPixmap ProgramPicture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawRect(QRectF(0.5, 0.5, size - 1, size - 1));
    p.setPen(QPen(QColor(0, 0, 200), 1.5));
    p.drawPath(Wave(QRectF(4, 4, size - 8, size * 0.4), 4, size * 0.12, 1.2));
    p.setPen(QPen(QColor(200, 0, 0), 2));
    QPainterPath s;
    double base = size * 0.9;
    s.moveTo(4, base);
    s.cubicTo(size * 0.2, base, size * 0.25, size * 0.45, size * 0.35, base - 4);
    s.cubicTo(size * 0.45, base, size * 0.55, size * 0.65, size * 0.65, base - 2);
    s.lineTo(size - 4, base);
    p.drawPath(s);
    return pm;
}

}  // namespace wavora::pictures
