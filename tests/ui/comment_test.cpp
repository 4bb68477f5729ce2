// The comment editor: what it shows, OK on an SPC-51 file (the texts written in place and read
// back, nothing else in the file changed), its refusals, the other formats in memory only, and
// the picture after an edit.

#include <QFile>
#include <cerrno>

#include "app/comment_dialog.h"
#include "display/image_view.h"
#include "support/record_files.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

class Comment : public WindowTest {
  protected:
    TComment& editor = *windows->Comment;

    std::string OpenMeter(const std::string& name = "meter.dbl") {
        test::Spc51Image image;
        image.Title = "Bridge test";
        image.Date = "2024/05/06 07:08:09";
        image.Comment = "before the repair";
        image.SamplingRate = 100;
        for (int k = 0; k < 2; ++k) {
            test::Spc51Channel ch;
            ch.Name = k == 0 ? "Pier A" : "Pier B";
            ch.Unit = "gal";
            ch.MaxRaw = 800;
            ch.MinRaw = -800;
            for (int i = 0; i < 1500; ++i)
                ch.Samples.push_back(static_cast<int16_t>((i % 50 - 25) * (k + 1) * 20));
            image.Channels.push_back(ch);
        }
        const std::string path = dir.Write(name, test::BuildSpc51(image));
        prompts.AnswerFile(path);
        form.FormatTypeClick(FormatType::Spc51);
        EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
        return path;
    }
};

TEST_F(Comment, OpenShowsTheRecordsTexts) {
    const std::string path = OpenMeter();
    form.FileComment1Click();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(Text(editor.LbFname), path);
    EXPECT_EQ(Text(editor.EdTitle), "Bridge test");
    EXPECT_EQ(Text(editor.EdComment), "before the repair");
    EXPECT_EQ(Text(editor.EdCh[0]), "Pier A");
    EXPECT_TRUE(editor.EdCh[1]->isEnabled());
    for (int k = 2; k < 8; ++k) {
        EXPECT_EQ(Text(editor.EdCh[k]), "No Data");
        EXPECT_FALSE(editor.EdCh[k]->isEnabled());
    }
    // A completed load ends the edit.
    ASSERT_TRUE(form.ReprocessRecord());
    EXPECT_FALSE(editor.isVisible());
}

TEST_F(Comment, Spc51TextsAreWrittenInPlaceAndReadBack) {
    const std::string path = OpenMeter();
    const std::string before = test::ReadAll(path);
    form.FileComment1Click();
    editor.EdTitle->setText("Deck 2");
    editor.EdCh[1]->setText("South pier");
    editor.OKBtnClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(form.Record().Title, "Deck 2");
    EXPECT_EQ(form.Record().Channels[1].Name, "South pier");
    EXPECT_EQ(Text(form.Ui().Label11), "Deck 2");

    // Only the title field and the second channel's name field changed.
    const std::string after = test::ReadAll(path);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        const bool title = i >= 16 && i < 48, name = i >= 512 + 96 && i < 512 + 96 + 32;
        if (!title && !name) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i;
        }
    }

    // Opened again, the file has the new texts; the rest is as before.
    prompts.AnswerFile(path);
    form.BtnFileClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(form.Record().Title, "Deck 2");
    EXPECT_EQ(form.Record().Channels[0].Name, "Pier A");
    EXPECT_EQ(form.Record().Channels[1].Name, "South pier");
    EXPECT_EQ(form.Record().Comment, "before the repair");
    EXPECT_EQ(Text(form.Ui().Label12), "2024/05/06 07:08:09");
    EXPECT_EQ(Text(form.Ui().Label11), "Deck 2");
}

TEST_F(Comment, ATextLongerThanItsFieldIsCutAndSaid) {
    OpenMeter();
    form.FileComment1Click();
    editor.EdTitle->setText("A title of forty characters, or nearly!");
    prompts.AnswerMessage();
    editor.OKBtnClick();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text,
              "The title is longer than its 32-byte field; \"A title of forty characters, or\" was stored.");
    // The record holds what a read of the file gives: the 32 bytes without the trailing blank.
    EXPECT_EQ(form.Record().Title, "A title of forty characters, or");
}

// Each refusal shows its message, keeps the editor open with what was typed, and leaves the file
// and the record as they were.
TEST_F(Comment, RefusalsChangeNeitherFileNorRecord) {
    const std::string path = OpenMeter();
    const std::string original = test::ReadAll(path);
    form.FileComment1Click();
    editor.EdTitle->setText("Deck 3");
    editor.EdCh[0]->setText("North pier");

    auto expectUntouched = [&](const std::string& fileBytes) {
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(Text(editor.EdTitle), "Deck 3");
        EXPECT_EQ(form.Record().Title, "Bridge test");
        EXPECT_EQ(form.Record().Channels[0].Name, "Pier A");
        EXPECT_EQ(Text(form.Ui().Label11), "Bridge test");
        EXPECT_EQ(test::ReadAll(path), fileBytes);
    };

    // The write fails: the original bytes are put back.
    editor.Io.WriteAt = [real = editor.Io.WriteAt, calls = 0](int fd, const void* bytes, size_t count,
                                                              off_t offset) mutable -> ssize_t {
        if (calls++ == 0) {
            errno = ENOSPC;
            return -1;
        }
        return real(fd, bytes, count, offset);
    };
    prompts.AnswerMessage();
    editor.OKBtnClick();
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "File write error");
    EXPECT_EQ(prompts.Messages[0].Caption, "FILE WRITE ERROR");
    expectUntouched(original);
    editor.Io = PatchIo::System();

    // The file changed since it was loaded.
    std::string changed = original;
    changed[70] = 'x';
    dir.Write("meter.dbl", changed);
    prompts.AnswerMessage();
    editor.OKBtnClick();
    ASSERT_EQ(prompts.Messages.size(), 2u);
    EXPECT_EQ(
        prompts.Messages[1].Text,
        "The file meter.dbl has been changed since it was loaded; load it again before editing its texts.");
    EXPECT_EQ(prompts.Messages[1].Caption, "File Error");
    expectUntouched(changed);

    // The file is gone.
    QFile::remove(QString::fromStdString(path));
    prompts.AnswerMessage();
    editor.OKBtnClick();
    ASSERT_EQ(prompts.Messages.size(), 3u);
    EXPECT_EQ(prompts.Messages[2].Text, "File could not be opened");
    EXPECT_EQ(prompts.Messages[2].Caption, "Open Error");
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(form.Record().Title, "Bridge test");

    // Cancel changes nothing either.
    editor.CancelBtnClick();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(form.Record().Channels[0].Name, "Pier A");
}

TEST_F(Comment, OtherFormatsChangeTheRecordOnly) {
    const std::string path = OpenCsv(800, "deck.csv", 3);
    const std::string original = test::ReadAll(path);
    form.FileComment1Click();
    EXPECT_TRUE(editor.EdCh[2]->isEnabled());
    EXPECT_FALSE(editor.EdCh[3]->isEnabled());
    editor.EdTitle->setText("Load test");
    editor.EdCh[2]->setText("Pier X");
    editor.OKBtnClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(form.Record().Title, "Load test");
    EXPECT_EQ(form.Record().Channels[2].Name, "Pier X");
    EXPECT_EQ(Text(form.Ui().Label11), "Load test");
    EXPECT_EQ(test::ReadAll(path), original);
    // Read again, the record has the file's names.
    ASSERT_TRUE(form.ReprocessRecord());
    EXPECT_EQ(form.Record().Channels[2].Name, "Pier3");
}

// After an edit the spectrum on the picture is drawn again from the last run, with the new names:
// no new run, so the position stays and no result file is asked for.
TEST_F(Comment, TheSpectrumIsDrawnAgainWithoutANewRun) {
    OpenCsv(5000, "deck.csv", 2);
    form.CBChClick(1, true);
    form.State().Analysis.FileSave = true;
    prompts.Files.push_back({false, "", 1});  // the result file's dialog, cancelled
    form.BtnRunClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    ASSERT_EQ(form.State().Wave.DisplayKind, kShowSpectrum);
    const int position = form.State().Position;
    const size_t saves = prompts.SaveRequests.size();
    const QImage before = form.Ui().Image1->Image();

    form.FileComment1Click();
    editor.EdCh[1]->setText("Abutment");
    editor.OKBtnClick();
    ASSERT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(form.State().Position, position);
    EXPECT_EQ(prompts.SaveRequests.size(), saves);
    EXPECT_EQ(form.State().Wave.DisplayKind, kShowSpectrum);
    const std::vector<SpectrumCurve> curves = form.State().LastRunPicture.Curves();
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[1].Legend, "Abutment");
    EXPECT_NE(form.Ui().Image1->Image(), before);

    // With the waveforms shown, they are drawn again.
    form.DrawWave();
    form.FileComment1Click();
    editor.EdCh[0]->setText("Tower");
    editor.OKBtnClick();
    EXPECT_TRUE(form.State().Wave.WaveShown);
    EXPECT_EQ(form.State().Position, position);
}

}  // namespace
}  // namespace wavora::uitest
