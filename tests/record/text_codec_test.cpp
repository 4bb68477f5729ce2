#include "record/text_codec.h"

#include <gtest/gtest.h>

#include "record/time_unit.h"
#include "record/wave_record.h"

using namespace wavora;

TEST(TextCodec, MicroSecondsIsTheCodePage932Mu) {
    EXPECT_EQ(EncodeFileText("\xCE\xBCs"), "\x83\xCA\x73");
    EXPECT_EQ(EncodeFileText("\xC2\xB5s"), "\x83\xCA\x73");  // micro sign written as mu
    EXPECT_EQ(DecodeFileText("\x83\xCA\x73"), "\xCE\xBCs");
}

TEST(TextCodec, JapaneseRoundTripsAndUtf8FilesAreKept) {
    std::string utf8 = "\xE8\xA7\xA3\xE6\x9E\x90";  // 解析
    std::string sjis = EncodeFileText(utf8);
    EXPECT_EQ(sjis.size(), 4u);
    EXPECT_EQ(DecodeFileText(sjis), utf8);
    EXPECT_EQ(DecodeFileText(utf8), utf8);
    EXPECT_EQ(DecodeFileText("plain"), "plain");
    EXPECT_EQ(EncodeFileText("\xF0\x9F\x98\x80"), "?");  // no code-page-932 form
}

TEST(TextCodec, BrokenBytesDoNotStopDecoding) {
    std::string decoded = DecodeFileText(std::string("A\x81", 2));
    EXPECT_EQ(decoded.substr(0, 1), "A");
    EXPECT_TRUE(IsValidUtf8(decoded));
}

TEST(TextCodec, CutNeverSplitsADoubleByteCharacter) {
    std::string kana = "\xE3\x81\x82\xE3\x81\x84";  // あい, 2 bytes each in code page 932
    EXPECT_EQ(CutToFileWidth(kana, 3), "\xE3\x81\x82");
    EXPECT_EQ(CutToFileWidth(kana, 4), kana);
    EXPECT_EQ(CutToFileWidth("abcdef", 4), "abcd");
}

TEST(TimeUnit, WordsAndTexts) {
    TimeUnit u = TimeUnit::Milliseconds;
    EXPECT_TRUE(TimeUnitFromWord("", u));
    EXPECT_EQ(u, TimeUnit::Seconds);
    EXPECT_TRUE(TimeUnitFromWord("micros", u));
    EXPECT_STREQ(FrequencyText(u), "MHz");
    EXPECT_TRUE(TimeUnitFromWord("ms", u));
    EXPECT_FALSE(TimeUnitFromWord("MS", u));  // case matters; the unit stays
    EXPECT_EQ(u, TimeUnit::Milliseconds);
    EXPECT_STREQ(TimeText(TimeUnit::Nanoseconds), "ns");
}

TEST(WaveRecord, PathPartsAndAllocation) {
    EXPECT_EQ(FileNameOf("/a/b/rec.DBL"), "rec.DBL");
    EXPECT_EQ(ExtensionOf("/a.x/b/rec.DBL"), "DBL");
    EXPECT_EQ(ExtensionOf("/a.x/b/rec"), "");
    WaveRecord r;
    EXPECT_TRUE(AllocateSamples(r, 2, 10));
    EXPECT_EQ(r.Channels[1].Samples.size(), 10u);
    EXPECT_FALSE(AllocateSamples(r, 8, int64_t(1) << 40));  // far beyond any memory: refused, not killed
    EXPECT_TRUE(r.Channels[0].Samples.empty());
}
