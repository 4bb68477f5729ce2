#include "draw/image_canvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <vector>

using namespace wavora;

namespace {

// The pixels of one row (or column) that are not white.
std::vector<int> MarkedInRow(const ImageCanvas& c, int y) {
    std::vector<int> xs;
    for (int x = 0; x < c.Width(); ++x)
        if (c.Pixel(x, y) != kWhite) xs.push_back(x);
    return xs;
}

std::vector<int> MarkedInColumn(const ImageCanvas& c, int x) {
    std::vector<int> ys;
    for (int y = 0; y < c.Height(); ++y)
        if (c.Pixel(x, y) != kWhite) ys.push_back(y);
    return ys;
}

}  // namespace

TEST(ImageCanvas, ColoursAreBlueGreenRed) {
    ImageCanvas c(4, 4);
    c.SetPixel(1, 1, kRed);
    QRgb rgb = c.ToImage().pixel(1, 1);
    EXPECT_EQ(qRed(rgb), 255);
    EXPECT_EQ(qBlue(rgb), 0);
    EXPECT_EQ(c.Pixel(1, 1), kRed);
    EXPECT_EQ(FromQRgb(ToQRgb(0x123456)), 0x123456u);
    EXPECT_EQ(c.Pixel(0, 0), kWhite);
    EXPECT_EQ(c.Pixel(-1, 99), kWhite);  // outside the picture
}

TEST(ImageCanvas, OnePixelLinesLeaveOutTheEndPixel) {
    ImageCanvas c(20, 20);
    c.SetPenColor(kBlack);
    c.MoveTo(2, 5);
    c.LineTo(10, 5);
    EXPECT_EQ(MarkedInRow(c, 5), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9}));
    c.MoveTo(15, 10);
    c.LineTo(15, 2);  // upwards
    EXPECT_EQ(MarkedInColumn(c, 15), (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10}));
    // A diagonal steps one pixel in each direction and no pixel is blurred.
    ImageCanvas d(10, 10);
    d.MoveTo(0, 0);
    d.LineTo(5, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(MarkedInRow(d, i), (std::vector<int>{i}));
    EXPECT_TRUE(MarkedInRow(d, 5).empty());
    // A line to its own start draws nothing; lines far outside do not hang or crash.
    d.MoveTo(7, 7);
    d.LineTo(7, 7);
    EXPECT_EQ(d.Pixel(7, 7), kWhite);
    d.MoveTo(-2000000000, 3);
    d.LineTo(2000000000, 3);
    EXPECT_EQ(MarkedInRow(d, 3).size(), 10u);
}

TEST(ImageCanvas, DottedAndDashedPensRestartAtEachLine) {
    ImageCanvas c(60, 10);
    c.SetPenStyle(PenStyle::Dot);
    c.MoveTo(0, 1);
    c.LineTo(12, 1);
    EXPECT_EQ(MarkedInRow(c, 1), (std::vector<int>{0, 1, 2, 6, 7, 8}));
    c.SetPenStyle(PenStyle::Dash);
    c.MoveTo(0, 3);
    c.LineTo(30, 3);
    std::vector<int> dash = MarkedInRow(c, 3);
    EXPECT_EQ(dash.size(), 18u + 6u);  // 18 on, 6 off, then 6 more of the next dash
    EXPECT_EQ(dash[17], 17);
    EXPECT_EQ(dash[18], 24);
    c.SetPenStyle(PenStyle::DashDot);
    c.MoveTo(0, 5);
    c.LineTo(24, 5);
    EXPECT_EQ(MarkedInRow(c, 5).size(), 12u);  // 9 on, 6 off, 3 on, 6 off
    EXPECT_EQ(MarkedInRow(c, 5).back(), 17);
    // A wide pen is solid and covers both ends.
    c.SetPenStyle(PenStyle::Dot);
    c.SetPenWidth(2);
    c.MoveTo(5, 8);
    c.LineTo(40, 8);
    std::vector<int> wide = MarkedInRow(c, 8);
    ASSERT_FALSE(wide.empty());
    EXPECT_LE(wide.front(), 5);
    EXPECT_GE(wide.back(), 40);
    EXPECT_EQ(wide.size(), static_cast<size_t>(wide.back() - wide.front() + 1));
}

TEST(ImageCanvas, XorTwiceRestoresThePicture) {
    ImageCanvas c(60, 40);
    c.SetBrushColor(0x3080C0);
    c.FillRect(10, 10, 50, 30);
    c.SetPenColor(kRed);
    c.MoveTo(0, 0);
    c.LineTo(20, 20);
    QImage before = c.ToImage();
    auto cross = [&] {
        c.MoveTo(25, 0);
        c.LineTo(25, 40);
        c.MoveTo(0, 20);
        c.LineTo(60, 20);
        c.SetPenWidth(3);
        c.MoveTo(0, 35);
        c.LineTo(55, 5);
        c.SetPenWidth(1);
        c.SetBrushColor(kBlue);
        c.Ellipse(30, 25, 45, 38);
        c.Polygon({{5, 5}, {15, 30}, {25, 8}});
    };
    c.SetXorMode(true);
    cross();
    QImage once = c.ToImage();
    EXPECT_NE(once, before);
    // The line inverts what it crosses, whatever the pen colour.
    EXPECT_EQ(c.Pixel(25, 5), kBlack);
    EXPECT_EQ(c.Pixel(25, 15), 0x3080C0u ^ 0xFFFFFFu);
    cross();
    EXPECT_EQ(c.ToImage(), before);
}

TEST(ImageCanvas, FillRectLeavesOutRightAndBottom) {
    ImageCanvas c(10, 10);
    c.SetBrushColor(kGreen);
    c.FillRect(2, 3, 5, 6);
    EXPECT_EQ(MarkedInRow(c, 3), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(MarkedInColumn(c, 2), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(c.Pixel(3, 4), kGreen);
    c.FillRect(-5, -5, 100, 1);  // clipped to the picture
    EXPECT_EQ(MarkedInRow(c, 0).size(), 10u);
}

TEST(ImageCanvas, EllipseFitsItsBoxWithoutRightAndBottom) {
    ImageCanvas c(20, 20);
    c.SetBrushColor(kRed);
    c.Ellipse(5, 5, 15, 15);
    EXPECT_EQ(MarkedInRow(c, 10).front(), 5);
    EXPECT_EQ(MarkedInRow(c, 10).back(), 14);
    EXPECT_EQ(MarkedInColumn(c, 10).front(), 5);
    EXPECT_EQ(MarkedInColumn(c, 10).back(), 14);
    EXPECT_EQ(c.Pixel(10, 10), kRed);   // filled with the brush
    EXPECT_EQ(c.Pixel(5, 10), kBlack);  // outlined with the pen
}

TEST(ImageCanvas, TextIsPlacedByItsTopLeftCorner) {
    ImageCanvas c(200, 60);
    c.SetFont("ＭＳゴシック", 9);
    c.SetBrushColor(kYellow);
    int w = c.TextWidth("0.01"), h = c.TextHeight("A");
    EXPECT_GT(w, 0);
    EXPECT_GE(h, 10);
    EXPECT_LE(h, 16);
    EXPECT_EQ(c.TextWidth("0000"), c.TextWidth("1111"));  // a fixed-pitch font
    c.TextOut(20, 10, "0.01");
    // The background box is exactly the text box.
    EXPECT_EQ(c.Pixel(20, 10), kYellow);
    EXPECT_EQ(c.Pixel(20 + w - 1, 10 + h - 1), kYellow);
    EXPECT_EQ(c.Pixel(19, 10), kWhite);
    EXPECT_EQ(c.Pixel(20, 9), kWhite);
    EXPECT_EQ(c.Pixel(20 + w, 10), kWhite);
    EXPECT_EQ(c.Pixel(20, 10 + h), kWhite);
    int ink = 0;
    for (int y = 10; y < 10 + h; ++y)
        for (int x = 20; x < 20 + w; ++x)
            if (c.Pixel(x, y) != kYellow) ++ink;
    EXPECT_GT(ink, 5);
    // A transparent background keeps what is under the text.
    c.SetTextTransparent(true);
    c.TextOut(20, 35, "8");
    EXPECT_EQ(c.Pixel(20, 35), kWhite);
}

TEST(ImageCanvas, GothicNamesMapToAnInstalledFixedPitchFont) {
    QFontInfo gothic(MapFont("ＭＳゴシック", 9));
    QFontInfo english(MapFont("MS Gothic", 9));
    QFontMetrics fm(MapFont("ＭＳゴシック", 9));
    EXPECT_EQ(fm.horizontalAdvance("iiii"), fm.horizontalAdvance("WWWW")) << gothic.family().toStdString();
    EXPECT_EQ(gothic.family(), english.family());
    EXPECT_EQ(gothic.pixelSize(), 12);  // 9 points on a 96 dpi screen
}

TEST(ImageCanvas, ResizeKeepsWhatFits) {
    ImageCanvas c(10, 10);
    c.SetPixel(3, 3, kBlue);
    c.SetPixel(9, 9, kBlue);
    c.Resize(20, 5);
    EXPECT_EQ(c.Width(), 20);
    EXPECT_EQ(c.Height(), 5);
    EXPECT_EQ(c.Pixel(3, 3), kBlue);
    EXPECT_EQ(c.Pixel(15, 2), kWhite);
}
