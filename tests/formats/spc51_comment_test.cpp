#include "formats/spc51_comment.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "formats/data_readers.h"
#include "support/record_files.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::BuildSpc51;
using test::Spc51Channel;
using test::Spc51Image;
using test::TempDir;

Spc51Image ThreeChannels() {
    Spc51Image image;
    image.Title = "Bridge deck";
    image.Date = "2024/05/07 09:03:11";
    image.Comment = "span 2";
    image.Channels = {Spc51Channel{"North", "mm", 0.01f, 30, -12, {1, -2, 3}},
                      Spc51Channel{"Vertical", "gal", 0.5f, 40, -90, {4, 5, 6}},
                      Spc51Channel{"East", "kine", 0.1f, 9, -9, {7, 8, 9}}};
    return image;
}

WaveRecord Load(const std::string& path) {
    WaveRecord r;
    r.FilePath = path;
    r.FileName = FileNameOf(path);
    Outcome o = ReadSpc51(path, r);
    EXPECT_TRUE(o.Ok()) << (o.Error ? o.Error->Text : "");
    return r;
}

// The byte ranges [begin, end) where two files differ.
std::vector<std::pair<size_t, size_t>> DifferingRanges(const std::string& a, const std::string& b) {
    EXPECT_EQ(a.size(), b.size());
    std::vector<std::pair<size_t, size_t>> ranges;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] == b[i]) continue;
        if (!ranges.empty() && ranges.back().second == i)
            ranges.back().second = i + 1;
        else
            ranges.push_back({i, i + 1});
    }
    return ranges;
}

using Ranges = std::vector<std::pair<size_t, size_t>>;

TEST(Spc51Comment, OnlyTheChangedFieldsBytesChange) {
    TempDir dir;
    const std::string path = dir.Write("m.dbl", BuildSpc51(ThreeChannels()));
    const std::string before = test::ReadAll(path);
    WaveRecord r = Load(path);

    CommentEdit edit;
    edit.Title = "Pier 4";
    edit.Comment = r.Comment;  // unchanged: not written
    edit.Names[0] = "North";   // unchanged
    edit.Names[2] = "East-W";
    Outcome o = WriteSpc51Texts(r, edit);
    ASSERT_TRUE(o.Ok()) << o.Error->Text;
    EXPECT_TRUE(o.Warnings.empty());
    const std::string after = test::ReadAll(path);
    // "Pier 4" and its NUL over "Bridge deck"; "East-W" and its NUL over "East" and blanks.
    EXPECT_EQ(DifferingRanges(before, after), (Ranges{{16, 23}, {512 + 192 + 4, 512 + 192 + 7}}));
    EXPECT_EQ(after.substr(16, 8), std::string("Pier 4\0d", 8));  // the field's later bytes are kept
    EXPECT_EQ(r.Title, "Pier 4");
    EXPECT_EQ(r.Channels[2].Name, "East-W");
    EXPECT_EQ(r.Channels[0].Name, "North");

    // A new read of the file gives what the record holds, and the header image is the file's.
    WaveRecord again = Load(path);
    EXPECT_EQ(again.Title, r.Title);
    EXPECT_EQ(again.Comment, r.Comment);
    EXPECT_EQ(again.DateText, "2024/05/07 09:03:11");
    for (int k = 0; k < 3; ++k) EXPECT_EQ(again.Channels[k].Name, r.Channels[k].Name);
    EXPECT_EQ(again.Header.Bytes, r.Header.Bytes);

    // Nothing changed: the file is not even opened for writing.
    const std::string now = test::ReadAll(path);
    ASSERT_TRUE(WriteSpc51Texts(r, edit).Ok());
    EXPECT_EQ(test::ReadAll(path), now);
}

TEST(Spc51Comment, TextsAreCutToTheirFieldsWithoutSplittingACharacter) {
    struct Case {
        std::string Text;
        std::string Field;   // the bytes written
        std::string Stored;  // what the record and a new read take
    };
    const std::string a31(31, 'a'), a32(32, 'a');
    const std::string ka = "\xE3\x81\x82", kaCp932 = "\x82\xA0";  // "あ"
    std::string ka16, ka16Cp932;
    for (int i = 0; i < 16; ++i) {
        ka16 += ka;
        ka16Cp932 += kaCp932;
    }
    const Case cases[] = {
        {"short", std::string("short\0", 6), "short"},
        {a31, a31 + std::string(1, '\0'), a31},
        {a32, a32, a32},                              // exactly the field: no NUL
        {a32 + "bcdefgh", a32, a32},                  // cut
        {a31 + ka, a31 + std::string(1, '\0'), a31},  // "あ" would be split: left out
        {ka16, ka16Cp932, ka16},
        {ka16 + "z", ka16Cp932, ka16},
        {"", std::string(1, '\0'), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameFieldBytes(c.Text), c.Field) << c.Text;
        std::string comment = c.Field.substr(0, c.Field.find('\0'));
        comment.resize(32, '\0');
        EXPECT_EQ(CommentFieldBytes(c.Text), comment) << c.Text;
    }

    TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.Write("w.dbl", BuildSpc51(ThreeChannels()));
        const std::string before = test::ReadAll(path);
        WaveRecord r = Load(path);
        CommentEdit edit;
        edit.Title = c.Text;
        edit.Comment = c.Text;
        edit.Names[0] = c.Text;
        ASSERT_TRUE(WriteSpc51Texts(r, edit).Ok()) << c.Text;
        const std::string after = test::ReadAll(path);
        // Nothing outside the three fields: the date at 48, the entry's unit at 32 are as they were.
        for (auto [begin, end] : DifferingRanges(before, after)) {
            const bool inField = (begin >= 16 && end <= 48) || (begin >= 130 && end <= 162) ||
                                 (begin >= 512 && end <= 512 + 32);
            EXPECT_TRUE(inField) << c.Text << ": bytes " << begin << ".." << end;
        }
        EXPECT_EQ(after.substr(16, c.Field.size()), c.Field);
        EXPECT_EQ(r.Title, c.Stored);
        EXPECT_EQ(r.Comment, c.Stored);
        EXPECT_EQ(r.Channels[0].Name, c.Stored);
        WaveRecord again = Load(path);
        EXPECT_EQ(again.Title, c.Stored);
        EXPECT_EQ(again.Comment, c.Stored);
        EXPECT_EQ(again.Channels[0].Name, c.Stored);
        EXPECT_EQ(again.Channels[0].Unit, "mm");
        EXPECT_FLOAT_EQ(again.Channels[0].ScaleFactor, 10.0f);
    }
}

TEST(Spc51Comment, ACutTextIsReported) {
    TempDir dir;
    const std::string path = dir.Write("c.dbl", BuildSpc51(ThreeChannels()));
    WaveRecord r = Load(path);
    CommentEdit edit;
    edit.Title = std::string(40, 'T');
    edit.Names[1] = std::string(33, 'n');
    Outcome o = WriteSpc51Texts(r, edit);
    ASSERT_TRUE(o.Ok());
    ASSERT_EQ(o.Warnings.size(), 2u);
    EXPECT_EQ(o.Warnings[0].Text,
              "The title is longer than its 32-byte field; \"" + std::string(32, 'T') + "\" was stored.");
    EXPECT_NE(o.Warnings[1].Text.find("name of CH 2"), std::string::npos);
}

WaveRecord Copy(const WaveRecord& r) {
    WaveRecord c = HeaderCopy(r);
    for (int k = 0; k < kMaxChannels; ++k) c.Channels[k].Samples = r.Channels[k].Samples;
    return c;
}

void ExpectSameTexts(const WaveRecord& a, const WaveRecord& b) {
    EXPECT_EQ(a.Title, b.Title);
    EXPECT_EQ(a.Comment, b.Comment);
    EXPECT_EQ(a.Header.Bytes, b.Header.Bytes);
    for (int k = 0; k < kMaxChannels; ++k) EXPECT_EQ(a.Channels[k].Name, b.Channels[k].Name);
}

TEST(Spc51Comment, AFileChangedSinceTheLoadIsRefused) {
    TempDir dir;
    const Spc51Image image = ThreeChannels();
    CommentEdit edit;
    edit.Title = "new";
    struct Case {
        const char* What;
        std::function<void(std::string&)> Change;
    };
    const Case cases[] = {
        {"header byte", [](std::string& f) { f[300] = 'x'; }},
        {"channel count", [](std::string& f) { f[118] = 2; }},
        {"tag", [](std::string& f) { f[0] = 'B'; }},
        {"size", [](std::string& f) { f += "xx"; }},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = BuildSpc51(image);
        const std::string path = dir.Write("x.dbl", bytes);
        WaveRecord r = Load(path);
        const WaveRecord before = Copy(r);
        std::string changed(bytes.begin(), bytes.end());
        c.Change(changed);
        dir.Write("x.dbl", changed);
        Outcome o = WriteSpc51Texts(r, edit);
        ASSERT_FALSE(o.Ok()) << c.What;
        EXPECT_EQ(o.Error->Text,
                  "The file x.dbl has been changed since it was loaded; load it again before editing "
                  "its texts.");
        EXPECT_EQ(test::ReadAll(path), changed) << c.What;
        ExpectSameTexts(r, before);
    }

    // A file that cannot be opened for update.
    const std::string path = dir.Write("gone.dbl", BuildSpc51(image));
    WaveRecord r = Load(path);
    ::unlink(path.c_str());
    Outcome o = WriteSpc51Texts(r, edit);
    ASSERT_FALSE(o.Ok());
    EXPECT_EQ(*o.Error, Failure::Captioned("File could not be opened", "Open Error"));
    EXPECT_EQ(r.Title, "Bridge deck");
}

TEST(Spc51Comment, AFailedWritePutsTheOriginalBytesBack) {
    TempDir dir;
    enum class Fault { ShortWrite, WriteError, Sync, Close };
    for (Fault fault : {Fault::ShortWrite, Fault::WriteError, Fault::Sync, Fault::Close}) {
        const std::string path = dir.Write("f.dbl", BuildSpc51(ThreeChannels()));
        const std::string original = test::ReadAll(path);
        WaveRecord r = Load(path);
        const WaveRecord before = Copy(r);

        // The first call of the faulty step fails (after a short write has changed some bytes);
        // the calls that put the bytes back work.
        PatchIo io = PatchIo::System();
        PatchIo real = PatchIo::System();
        int writes = 0, syncs = 0, closes = 0;
        io.WriteAt = [&](int fd, const void* b, size_t n, off_t at) -> ssize_t {
            if (++writes > 1) return real.WriteAt(fd, b, n, at);
            if (fault == Fault::ShortWrite) return real.WriteAt(fd, b, n / 2, at);
            if (fault == Fault::WriteError) {
                errno = ENOSPC;
                return -1;
            }
            return real.WriteAt(fd, b, n, at);
        };
        io.Sync = [&](int fd) { return ++syncs == 1 && fault == Fault::Sync ? -1 : real.Sync(fd); };
        io.Close = [&](int fd) {
            const int done = real.Close(fd);
            return ++closes == 1 && fault == Fault::Close ? -1 : done;
        };
        CommentEdit edit;
        edit.Title = "a new title that is long";
        edit.Names[1] = "Up";
        Outcome o = WriteSpc51Texts(r, edit, io);
        ASSERT_FALSE(o.Ok());
        EXPECT_EQ(*o.Error, Failure::Captioned("File write error", "FILE WRITE ERROR"));
        EXPECT_EQ(test::ReadAll(path), original) << static_cast<int>(fault);
        ExpectSameTexts(r, before);
    }
}

TEST(Spc51Comment, TheFileKeepsItsIdentity) {
    TempDir dir;
    const std::string path = dir.Write("id.dbl", BuildSpc51(ThreeChannels()));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    WaveRecord r = Load(path);
    CommentEdit edit;
    edit.Comment = "night run";
    ASSERT_TRUE(WriteSpc51Texts(r, edit).Ok());
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(r.Comment, "night run");
    // No backup or temporary file beside it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(Spc51Comment, OtherFormatsChangeTheRecordOnly) {
    TempDir dir;
    const std::string path = dir.Write("d.csv", "A,B\n100,s\n\nGal,Gal\n1,2\n");
    WaveRecord r;
    ASSERT_TRUE(ReadStandardCsv(path, r).Ok());
    r.FilePath = path;
    CommentEdit edit;
    edit.Title = "new title";
    edit.Comment = "not used";
    edit.Names[0] = "first";
    edit.Names[1] = std::string(40, 'n');
    edit.Names[2] = "No Data";  // beyond the record's channels
    ASSERT_TRUE(ApplyCommentEdit(r, edit).Ok());
    EXPECT_EQ(r.Title, "new title");
    EXPECT_EQ(r.Comment, "");
    EXPECT_EQ(r.Channels[0].Name, "first");
    EXPECT_EQ(r.Channels[1].Name, std::string(31, 'n'));
    EXPECT_EQ(r.Channels[2].Name, "");
    EXPECT_EQ(test::ReadAll(path), "A,B\n100,s\n\nGal,Gal\n1,2\n");
}

}  // namespace
}  // namespace wavora
