// The import of any CSV file through TCSVArbitrary: the preview and its start values, OK with its
// checks, the save as a standard CSV data file and its questions, Cancel and the close box, and a
// filter command over an imported record.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <functional>

#include "app/csv_import_dialog.h"
#include "display/string_grid.h"
#include "display/up_down.h"
#include "window_fixture.h"

namespace wavora::uitest {
namespace {

// A logger's file: a time column in front, a line the import skips, a memo line, then the units.
std::string TimedCsv(int rows) {
    std::string out = "Time,North,East\nrecorded by logger 7,,\nmemo of the test,,\nsec,Gal,kine\n";
    char buf[96];
    for (int i = 0; i < rows; ++i) {
        std::snprintf(buf, sizeof buf, "%.3f,%.4f,%.4f\n", i * 0.005, 1.5 * std::sin(i * 0.2),
                      -2.0 * std::cos(i * 0.05));
        out += buf;
    }
    return out;
}

class CsvImport : public WindowTest {
  protected:
    TCSVArbitrary& dialog = *windows->CSVArbitrary;
    bool dialogShown = false;

    // Opens `path` as CSV(Arbitrary); `inDialog` runs while the import dialog waits, which is
    // cancelled if `inDialog` leaves it open.
    void Import(const std::string& path, const std::function<void(TCSVArbitrary&)>& inDialog) {
        dialogShown = false;
        QTimer::singleShot(0, &dialog, [this, inDialog] {
            if (!dialog.isVisible()) return;
            dialogShown = true;
            inDialog(dialog);
            if (dialog.isVisible()) dialog.reject();
        });
        prompts.AnswerFile(path, 2);
        if (form.State().Load.Format == FormatType::CsvArbitrary)
            form.BtnFileClick();
        else
            form.FormatTypeClick(FormatType::CsvArbitrary);
    }
    // The data from column 2 at 200 per ms, without the save.
    void ImportTimed(const std::string& path) {
        Import(path, [this](TCSVArbitrary& d) {
            d.EdCol1->setText("2");
            d.EdSamp->setText("200");
            d.ComboBox1->setCurrentIndex(1);
            prompts.AnswerMessage(PromptAnswer::No);
            d.Button2Click();
        });
    }
    int FilesInFolder() const {
        return static_cast<int>(QDir(QString::fromStdString(dir.Path())).count()) - 2;
    }
};

TEST_F(CsvImport, TheFormatItemShowsThePreviewWithItsStartValues) {
    const std::string path = dir.Write("logger.csv", TimedCsv(300));
    Import(path, [&](TCSVArbitrary& d) {
        EXPECT_EQ(Text(d.Label9), path);
        EXPECT_EQ(Text(d.EdPoint), "1");
        EXPECT_EQ(Text(d.EdMemo), "3");
        EXPECT_EQ(Text(d.EdUnit), "4");
        EXPECT_EQ(Text(d.EdLine1), "5");
        EXPECT_EQ(Text(d.EdLine2), "304");
        EXPECT_EQ(Text(d.EdCol1), "1");
        EXPECT_EQ(Text(d.EdCol2), "3");
        EXPECT_EQ(Text(d.EdSamp), "100");
        EXPECT_EQ(d.ComboBox1->currentText().toStdString(), "s");
        EXPECT_EQ(d.ComboBox1->itemText(2).toStdString(), "μs");
        const StringGrid& g = *d.StringGrid1;
        EXPECT_EQ(g.ColCount(), 21);
        EXPECT_EQ(g.RowCount(), 305);
        EXPECT_EQ(g.Cell(1, 0), "   1");
        EXPECT_EQ(g.Cell(20, 0), "  20");
        EXPECT_EQ(g.Cell(0, 304), "    304");
        EXPECT_EQ(g.Cell(2, 1), "North");
        EXPECT_EQ(g.Cell(1, 5), "0.000");
        EXPECT_EQ(g.Cell(4, 5), "");

        // The up-downs step their fields and move the grid's current row or column.
        d.UpDown4->Click(true);
        EXPECT_EQ(Text(d.EdLine1), "6");
        EXPECT_EQ(g.Row(), 6);
        d.UpDown5->Click(false);
        EXPECT_EQ(Text(d.EdCol2), "2");
        EXPECT_EQ(g.Col(), 2);
        EXPECT_EQ(g.Row(), 6);
        d.UpDown1->Click(false);
        EXPECT_EQ(Text(d.EdPoint), "1") << "an up-down stops at 1";
        EXPECT_EQ(g.Row(), 1);
    });
    EXPECT_TRUE(dialogShown);
    ASSERT_EQ(prompts.OpenRequests.size(), 1u);
    EXPECT_EQ(prompts.OpenRequests[0].FilterIndex, 2);
    EXPECT_TRUE(form.Ui().CSVArb->isChecked());
    EXPECT_EQ(Text(form.Ui().Label28), "CSV(Arbitrary)");
    // Cancelled: nothing was loaded.
    EXPECT_FALSE(form.State().DataLoaded);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
}

TEST_F(CsvImport, OkLoadsTheSelectionLikeAnyRecord) {
    const std::string path = dir.Write("logger.csv", TimedCsv(300));
    ImportTimed(path);
    ASSERT_TRUE(dialogShown);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "Save File as Standard CSV file for WAVORA?     ");
    EXPECT_EQ(prompts.Messages[0].Caption, "Save File");
    EXPECT_EQ(prompts.Messages[0].Buttons, PromptButtons::YesNo);
    EXPECT_FALSE(dialog.isVisible());

    const WaveRecord& r = form.Record();
    EXPECT_EQ(r.Format, FormatType::CsvArbitrary);
    EXPECT_EQ(r.ChannelCount, 2);
    EXPECT_EQ(r.SampleCount, 300);
    EXPECT_EQ(r.SamplingRate, 200);
    EXPECT_EQ(r.Time, TimeUnit::Milliseconds);
    EXPECT_EQ(r.Channels[0].Name, "North");
    EXPECT_EQ(r.Channels[1].Unit, "kine");
    // The largest magnitude of a column becomes ±32000.
    EXPECT_FLOAT_EQ(r.Channels[1].ScaleFactor, 2.0f * 3.125e-5f);
    EXPECT_EQ(r.Channels[1].Samples[0], -32000);
    EXPECT_EQ(Text(form.Ui().Label1), "logger.csv");
    EXPECT_EQ(Text(form.Ui().Label2), "2");
    EXPECT_EQ(Text(form.Ui().Label4), "200/ms");
    EXPECT_EQ(Text(form.Ui().Label30), "ms");
    EXPECT_EQ(form.Ui().StringGrid1->Cell(1, 0), "North");
    EXPECT_TRUE(form.State().Wave.WaveShown);
    ASSERT_TRUE(form.State().Load.Import.has_value());
    EXPECT_EQ(form.State().Load.Import->FromColumn, 2);
    EXPECT_EQ(FilesInFolder(), 1) << "nothing saved";
}

TEST_F(CsvImport, AFilterCommandImportsTheSameSelectionAgainWithoutDialogs) {
    const std::string path = dir.Write("logger.csv", TimedCsv(1200));
    ImportTimed(path);
    const std::vector<int16_t> raw = form.Record().Channels[0].Samples;
    const size_t dialogs = prompts.OpenRequests.size(), messages = prompts.Messages.size();
    form.Default1Click();
    EXPECT_EQ(prompts.OpenRequests.size(), dialogs);
    EXPECT_EQ(prompts.Messages.size(), messages) << prompts.LastText();
    EXPECT_TRUE(form.State().RecordFiltered);
    EXPECT_EQ(form.Record().ChannelCount, 2);
    EXPECT_EQ(form.Record().SamplingRate, 200);
    EXPECT_EQ(form.Record().Channels[1].Name, "East");
    form.None2Click();
    EXPECT_EQ(form.Record().Channels[0].Samples, raw);
}

TEST_F(CsvImport, SavedStandardFileReadsBackAsTheSameRecord) {
    const std::string path = dir.Write("logger.csv", TimedCsv(400));
    const std::string target = dir.File("saved");
    Import(path, [&](TCSVArbitrary& d) {
        d.EdCol1->setText("2");
        d.EdSamp->setText("250");
        d.ComboBox1->setCurrentIndex(2);
        prompts.AnswerMessage(PromptAnswer::Yes);
        prompts.AnswerFile(target, 1);
        d.Button2Click();
    });
    ASSERT_EQ(prompts.SaveRequests.size(), 1u);
    EXPECT_EQ(prompts.SaveRequests[0].InitialPath, dir.File("logger_std.csv"));
    ASSERT_EQ(prompts.Messages.size(), 1u) << prompts.LastText();
    ASSERT_TRUE(test::Exists(target + ".csv")) << "the first filter adds .csv";
    const WaveRecord imported = form.Record();
    EXPECT_EQ(imported.Time, TimeUnit::Microseconds);

    prompts.AnswerFile(target + ".csv");
    form.FormatTypeClick(FormatType::CsvDefault);
    ASSERT_EQ(prompts.Messages.size(), 1u) << prompts.LastText();
    const WaveRecord& back = form.Record();
    EXPECT_EQ(back.Format, FormatType::CsvDefault);
    EXPECT_EQ(back.SamplingRate, 250);
    EXPECT_EQ(back.Time, TimeUnit::Microseconds);
    ASSERT_EQ(back.ChannelCount, 2);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(back.Channels[k].Name, imported.Channels[k].Name);
        EXPECT_EQ(back.Channels[k].Unit, imported.Channels[k].Unit);
        EXPECT_FLOAT_EQ(back.Channels[k].ScaleFactor, imported.Channels[k].ScaleFactor);
        EXPECT_EQ(back.Channels[k].Samples, imported.Channels[k].Samples);
    }
}

// Every refusal names what is wrong, keeps the dialog open and changes nothing: the open record,
// its labels and the folder stay as they were, and no save is offered.
TEST_F(CsvImport, RefusalsKeepTheDialogOpenAndChangeNothing) {
    struct Case {
        QLineEdit* TCSVArbitrary::*Field;
        const char* Text;
        const char* Message;
        const char* Caption;
    };
    const Case cases[] = {
        {&TCSVArbitrary::EdLine1, "five", "'five' is not a valid integer value", "WAVORA 4.8"},
        {&TCSVArbitrary::EdLine2, "400", "Data Line to 400 is not a line of the file; its lines are 1 to 24.",
         "Arbitrary CSV File Data"},
        {&TCSVArbitrary::EdLine2, "4", "Data Line to (4) is before Data Line From (5).",
         "Arbitrary CSV File Data"},
        {&TCSVArbitrary::EdCol1, "0",
         "Data Column from 0 is not a column of the file; its lines have columns 1 to 3.",
         "Arbitrary CSV File Data"},
        {&TCSVArbitrary::EdSamp, "0", "The Sampling Rate must be a whole number above 0, not 0.",
         "Arbitrary CSV File Data"},
        {&TCSVArbitrary::EdSamp, "1e3", "'1e3' is not a valid integer value", "WAVORA 4.8"},
        // The second line holds no numbers.
        {&TCSVArbitrary::EdLine1, "2", "Line 2, column 2 is empty; every selected cell must hold a number.",
         "Arbitrary CSV File Data"},
    };
    OpenCsv(800, "before.csv", 3);
    const std::string path = dir.Write("logger.csv", TimedCsv(20));
    const int files = FilesInFolder();
    const std::vector<int16_t> samples = form.Record().Channels[0].Samples;
    Import(path, [&](TCSVArbitrary& d) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.Text);
            d.EdLine1->setText("5");
            d.EdLine2->setText("24");
            d.EdCol1->setText("2");
            d.EdSamp->setText("100");
            (d.*c.Field)->setText(c.Text);
            prompts.AnswerMessage();
            const size_t before = prompts.Messages.size();
            d.Button2Click();
            ASSERT_EQ(prompts.Messages.size(), before + 1);
            EXPECT_EQ(prompts.Messages.back().Text, c.Message);
            EXPECT_EQ(prompts.Messages.back().Caption, c.Caption);
            EXPECT_TRUE(d.isVisible());
        }
        // A cell that is not a number is named by its line and column.
        d.EdLine1->setText("1");
        prompts.AnswerMessage();
        d.Button2Click();
        EXPECT_EQ(prompts.LastText(), "Line 1, column 2: \"North\" is not a number.");
        EXPECT_TRUE(d.isVisible());
    });
    ASSERT_TRUE(dialogShown);
    for (const test::AskedMessage& m : prompts.Messages) {
        EXPECT_NE(m.Caption, "Save File");
    }
    EXPECT_TRUE(prompts.SaveRequests.empty());
    EXPECT_EQ(form.Record().FileName, "before.csv");
    EXPECT_EQ(form.Record().Format, FormatType::CsvDefault);
    EXPECT_EQ(form.Record().ChannelCount, 3);
    EXPECT_EQ(form.Record().Channels[0].Samples, samples);
    EXPECT_EQ(Text(form.Ui().Label1), "before.csv");
    EXPECT_EQ(Text(form.Ui().Label4), "100/s");
    EXPECT_FALSE(form.State().Load.Import.has_value());
    EXPECT_EQ(FilesInFolder(), files);
}

TEST_F(CsvImport, CancelAndTheCloseBoxKeepThePreviousRecord) {
    OpenCsv(800, "before.csv", 3);
    const std::string path = dir.Write("logger.csv", TimedCsv(50));
    Import(path, [](TCSVArbitrary& d) { d.Button3Click(); });
    ASSERT_TRUE(dialogShown);
    Import(path, [](TCSVArbitrary& d) { d.close(); });
    ASSERT_TRUE(dialogShown);
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(form.Record().FileName, "before.csv");
    EXPECT_EQ(form.Record().Format, FormatType::CsvDefault);
    EXPECT_EQ(form.Record().SampleCount, 800);
    EXPECT_EQ(Text(form.Ui().Label1), "before.csv");
    EXPECT_TRUE(form.Ui().BtnRun->isEnabled());
    // The kept record is filtered from its own file, in its own format.
    form.Default1Click();
    EXPECT_TRUE(prompts.Messages.empty()) << prompts.LastText();
    EXPECT_EQ(form.Record().Format, FormatType::CsvDefault);
    EXPECT_TRUE(form.State().RecordFiltered);
}

TEST_F(CsvImport, TheSaveAsksBeforeReplacingAndNeverWritesOverTheImportedFile) {
    const std::string path = dir.Write("logger.csv", TimedCsv(60));
    const std::string original = test::ReadAll(path);
    const std::string existing = dir.Write("logger_std.csv", "keep me\n");

    // An existing file: Cancel writes nothing, and the load goes on.
    Import(path, [&](TCSVArbitrary& d) {
        prompts.AnswerMessage(PromptAnswer::Yes);
        prompts.AnswerFile(existing, 1);
        prompts.AnswerMessage(PromptAnswer::Cancel);
        d.Button2Click();
    });
    ASSERT_EQ(prompts.Messages.size(), 2u);
    EXPECT_EQ(prompts.Messages[1].Text, "Same file " + existing + " is already exists. Overwrite?");
    EXPECT_EQ(prompts.Messages[1].Caption, "File Name Error");
    EXPECT_EQ(prompts.Messages[1].Buttons, PromptButtons::OkCancel);
    EXPECT_EQ(test::ReadAll(existing), "keep me\n");
    EXPECT_EQ(form.Record().Format, FormatType::CsvArbitrary);

    // The file being imported as the target: refused without the question; the load goes on.
    Import(path, [&](TCSVArbitrary& d) {
        d.EdCol1->setText("2");
        prompts.AnswerMessage(PromptAnswer::Yes);
        prompts.AnswerFile(path, 1);
        prompts.AnswerMessage();
        d.Button2Click();
    });
    ASSERT_EQ(prompts.Messages.size(), 4u);
    EXPECT_EQ(prompts.Messages[3].Caption, "File Name Error");
    EXPECT_EQ(prompts.Messages[3].Buttons, PromptButtons::Ok);
    EXPECT_EQ(test::ReadAll(path), original);
    EXPECT_EQ(form.Record().ChannelCount, 2);

    // OK replaces it.
    Import(path, [&](TCSVArbitrary& d) {
        prompts.AnswerMessage(PromptAnswer::Yes);
        prompts.AnswerFile(existing, 1);
        prompts.AnswerMessage(PromptAnswer::Ok);
        d.Button2Click();
    });
    EXPECT_EQ(test::ReadAll(existing).substr(0, 15), "Time,North,East");
}

TEST_F(CsvImport, AFileThatCannotBeReadShowsNoPreview) {
    prompts.AnswerMessage();
    Import(dir.File("missing.csv"), [](TCSVArbitrary&) { ADD_FAILURE() << "no preview"; });
    EXPECT_FALSE(dialogShown);
    ASSERT_EQ(prompts.Messages.size(), 1u);
    EXPECT_EQ(prompts.Messages[0].Text, "read file not exist  ");
    EXPECT_EQ(prompts.Messages[0].Caption, "File Error");
    EXPECT_FALSE(form.State().DataLoaded);
}

}  // namespace
}  // namespace wavora::uitest
