#include "draw/png_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <filesystem>

#include "support/test_files.h"

using namespace wavora;
using wavora::test::TempDir;

namespace {

QImage Pattern(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) % 256));
    return img;
}

int FilesIn(const std::string& dir) {
    int n = 0;
    for (auto& e : std::filesystem::directory_iterator(dir)) (void)e, ++n;
    return n;
}

}  // namespace

TEST(PngWriter, ReadsBackWithTheSamePixels) {
    TempDir dir;
    QImage img = Pattern(37, 23);
    std::string path = dir.File("pattern.png");
    Outcome out = WritePng(path, img);
    ASSERT_TRUE(out.Ok()) << out.Error->Text;
    std::string bytes = wavora::test::ReadAll(path);
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(static_cast<unsigned char>(bytes[24]), 8u);  // bit depth
    EXPECT_EQ(static_cast<unsigned char>(bytes[25]), 2u);  // colour type RGB
    QImage back(QString::fromStdString(path));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), img);
    EXPECT_EQ(FilesIn(dir.Path()), 1);  // no temporary file left beside it
}

TEST(PngWriter, ReplacesAnExistingFileUnderExactlyItsName) {
    TempDir dir;
    std::string path = dir.Write("picture.bmp", std::string("old contents"));
    ASSERT_TRUE(WritePng(path, Pattern(4, 4)).Ok());
    EXPECT_EQ(wavora::test::ReadAll(path).substr(1, 3), "PNG");
    EXPECT_EQ(FilesIn(dir.Path()), 1);
}

TEST(PngWriter, AnUnwritablePathIsAnErrorAndLeavesNoFile) {
    TempDir dir;
    std::string missing = dir.File("no-such-folder/out.png");
    Outcome out = WritePng(missing, Pattern(4, 4));
    ASSERT_FALSE(out.Ok());
    EXPECT_NE(out.Error->Text.find(missing), std::string::npos);
    EXPECT_EQ(FilesIn(dir.Path()), 0);

    // A folder in place of the file: the old folder stays and no temporary file is left.
    std::filesystem::create_directory(dir.File("taken.png"));
    out = WritePng(dir.File("taken.png"), Pattern(4, 4));
    ASSERT_FALSE(out.Ok());
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken.png")));
    EXPECT_EQ(FilesIn(dir.Path()), 1);

    // A read-only folder (root may write anyway, so only check when the folder really refuses).
    std::string ro = dir.File("ro");
    std::filesystem::create_directory(ro);
    chmod(ro.c_str(), 0555);
    out = WritePng(ro + "/x.png", Pattern(4, 4));
    if (!out.Ok()) {
        EXPECT_EQ(FilesIn(ro), 0);
    }
    chmod(ro.c_str(), 0755);

    EXPECT_FALSE(WritePng(dir.File("empty.png"), QImage()).Ok());
    EXPECT_FALSE(std::filesystem::exists(dir.File("empty.png")));
}
