#include "formats/csv_import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>

#include "formats/data_readers.h"
#include "formats/standard_csv.h"
#include "record/line_split.h"
#include "support/test_files.h"

namespace wavora {
namespace {

using test::TempDir;

CsvLineIndex Index(const std::string& path) {
    CsvLineIndex index;
    Outcome built = CsvLineIndex::Build(path, index);
    EXPECT_TRUE(built.Ok()) << (built.Error ? built.Error->Text : "");
    return index;
}

// The lines as a plain split at every line feed would give them.
std::vector<std::string> ReferenceLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        std::string line = text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return lines;
}

void ExpectIndexOf(const std::string& text, const CsvLineIndex& index, const std::string& what) {
    const std::vector<std::string> lines = ReferenceLines(text);
    ASSERT_EQ(index.LineCount(), static_cast<int64_t>(lines.size())) << what;
    int64_t widest = 0, lastContent = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string expected = lines[i];
        if (i == 0 && expected.rfind("\xEF\xBB\xBF", 0) == 0) expected.erase(0, 3);
        EXPECT_EQ(index.LineText(static_cast<int64_t>(i + 1)), expected) << what << " line " << i + 1;
        widest = std::max<int64_t>(widest, std::count(lines[i].begin(), lines[i].end(), ',') + 1);
        if (expected.find_first_not_of(" \t") != std::string::npos) lastContent = static_cast<int64_t>(i + 1);
    }
    EXPECT_EQ(index.WidestCellCount(), widest) << what;
    EXPECT_EQ(index.LastContentLine(), lastContent) << what;
    EXPECT_EQ(index.LineStart(index.LineCount() + 1), static_cast<int64_t>(text.size())) << what;
}

TEST(CsvLineIndex, LinesWidestAndLastContentForEveryScan) {
    const std::string longLine = std::string(300000, 'x') + std::string(70, ',') + "y";
    const std::vector<std::string> texts = {
        "",
        "abc",
        "a,b\n",
        "a,b\r\nc,d,e\r\n",
        "x\n\n",
        "a,,,\n\n  \t\n",
        "\xEF\xBB\xBFname,unit\n1,2\n",
        "\n\n\n",
        "1,2,3\nlast line without feed",
        "head\n" + longLine + "\n1,2\n",
        "cr only\rinside,a line\n",
    };
    TempDir dir;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string path = dir.Write("t" + std::to_string(i) + ".csv", texts[i]);
        ExpectIndexOf(texts[i], Index(path), "vector scan, text " + std::to_string(i));
        CsvLineIndex plain;
        ASSERT_TRUE(CsvLineIndex::BuildWithPlainScan(path, plain).Ok());
        ExpectIndexOf(texts[i], plain, "plain scan, text " + std::to_string(i));
    }
}

TEST(CsvLineIndex, VectorAndPlainScansAgreeOnRandomText) {
    // Line feeds and commas at every position of the 32-byte vectors and across read blocks.
    std::mt19937 rng(7);
    std::string text;
    const char alphabet[] = {',', '\n', '\r', 'a', '1', ' ', ',', '\n'};
    for (int i = 0; i < 300000; ++i) text += alphabet[rng() % sizeof alphabet];
    TempDir dir;
    const std::string path = dir.Write("random.csv", text);
    ExpectIndexOf(text, Index(path), "vector scan");
    CsvLineIndex plain;
    ASSERT_TRUE(CsvLineIndex::BuildWithPlainScan(path, plain).Ok());
    ExpectIndexOf(text, plain, "plain scan");
}

TEST(CsvLineIndex, HoldsEightBytesALineAndNoText) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "1.000e+00,2.000e+00,3.000e+00\n";
    CsvLineIndex index = Index(dir.Write("big.csv", text));
    EXPECT_EQ(index.LineCount(), 200000);
    EXPECT_LT(index.MemoryBytes(), 8u * 200000 + (size_t(1) << 20));
}

TEST(CsvLineIndex, RefusesWhatCannotBeReadAndSeesChanges) {
    TempDir dir;
    CsvLineIndex index;
    const Outcome missing = CsvLineIndex::Build(dir.File("none.csv"), index);
    ASSERT_FALSE(missing.Ok());
    EXPECT_EQ(missing.Error->Text, "read file not exist  ");
    EXPECT_EQ(missing.Error->Caption, "File Error");
    EXPECT_FALSE(CsvLineIndex::Build(dir.Path(), index).Ok());  // a folder
    EXPECT_EQ(index.LineCount(), 0);

    const std::string path = dir.Write("a.csv", "1,2\n3,4\n");
    index = Index(path);
    EXPECT_TRUE(index.Unchanged());
    EXPECT_TRUE(index.IsSameFile(path));
    ASSERT_EQ(::link(path.c_str(), dir.File("b.csv").c_str()), 0);
    EXPECT_TRUE(index.IsSameFile(dir.File("b.csv")));
    EXPECT_FALSE(index.IsSameFile(dir.Write("c.csv", "1,2\n3,4\n")));
    dir.Write("a.csv", "1,2\n3,4\n5,6\n");
    EXPECT_FALSE(index.Unchanged());
}

TEST(CsvPreview, HeadingsCellsAndColumnCount) {
    TempDir dir;
    // "加速度" in code page 932, as a Japanese meter's software writes it.
    CsvLineIndex index = Index(dir.Write("p.csv", "\x89\xC1\x91\xAC\x93\x78, b ,\r\n1,2,3\n"));
    CsvPreview preview(index);
    EXPECT_EQ(preview.RowCount(), 3);
    EXPECT_EQ(preview.ColumnCount(), 21);  // at least 20 data columns
    EXPECT_EQ(preview.CellText(0, 0), "");
    EXPECT_EQ(preview.CellText(0, 1), "   1");
    EXPECT_EQ(preview.CellText(0, 20), "  20");
    EXPECT_EQ(preview.CellText(1, 0), "      1");
    EXPECT_EQ(preview.CellText(2, 0), "      2");
    EXPECT_EQ(preview.CellText(1, 1), "加速度");
    EXPECT_EQ(preview.CellText(1, 2), " b ");
    EXPECT_EQ(preview.CellText(1, 3), "");  // the empty last cell; no carriage return
    EXPECT_EQ(preview.CellText(1, 4), "");
    EXPECT_EQ(preview.CellText(2, 3), "3");
    EXPECT_EQ(preview.CellText(3, 1), "");

    std::string wide;
    for (int c = 1; c <= 30; ++c) wide += (c > 1 ? "," : "") + std::to_string(c);
    CsvLineIndex wideIndex = Index(dir.Write("w.csv", "a\n" + wide + "\n"));
    CsvPreview widePreview(wideIndex);
    EXPECT_EQ(widePreview.ColumnCount(), 31);
    EXPECT_EQ(widePreview.CellText(2, 30), "30");
    // Many rows asked for in turn: the cache keeps giving the right line.
    std::string rows;
    for (int r = 1; r <= 500; ++r) rows += std::to_string(r) + "," + std::to_string(-r) + "\n";
    CsvLineIndex rowIndex = Index(dir.Write("r.csv", rows));
    CsvPreview rowPreview(rowIndex);
    for (int pass = 0; pass < 2; ++pass)
        for (int r = 1; r <= 500; r += 3) EXPECT_EQ(rowPreview.CellText(r, 2), std::to_string(-r));
}

// A file as the import usually meets it: names, a free line, a memo, units, then a time column
// and two channels.
std::string TimedFile(int rows) {
    std::string s = "Time,Acc X,Acc Y\nrecorded 2024\nmemo,first,second\ns,Gal,kine\n";
    for (int i = 0; i < rows; ++i)
        s += std::to_string(i * 0.01) + "," + std::to_string(std::sin(i * 0.1) * 3.0) + "," +
             std::to_string(i % 7 - 3) + "\n";
    return s;
}

TEST(CsvImportSelection, StartValuesFollowTheFile) {
    TempDir dir;
    CsvImportSelection s = StartSelection(Index(dir.Write("a.csv", TimedFile(100))));
    EXPECT_EQ(s, (CsvImportSelection{1, 3, 4, 5, 104, 1, 3, 100, TimeUnit::Seconds}));
    EXPECT_EQ(s.Channels(), 3);
    EXPECT_EQ(s.Samples(), 100);
    // Blank lines at the end do not count; the last line's cells give the last column.
    s = StartSelection(Index(dir.Write("b.csv", "a,b,c,d\n\n\n\n1,2\n3,4\n\n  \n")));
    EXPECT_EQ(s.ToLine, 6);
    EXPECT_EQ(s.ToColumn, 2);

    CsvImportFields f = FieldsOf(s);
    EXPECT_EQ(f.NamesLine, "1");
    EXPECT_EQ(f.ToLine, "6");
    EXPECT_EQ(f.SamplingRate, "100");
    EXPECT_EQ(f.UnitIndex, 0);
}

TEST(CsvImportSelection, FieldsMustBeWholeNumbers) {
    CsvImportFields good = FieldsOf(CsvImportSelection{2, 3, 4, 6, 9, 2, 3, 250, TimeUnit::Seconds});
    good.UnitIndex = 2;
    CsvImportSelection s;
    ASSERT_TRUE(ParseImportFields(good, s).Ok());
    EXPECT_EQ(s, (CsvImportSelection{2, 3, 4, 6, 9, 2, 3, 250, TimeUnit::Microseconds}));

    struct Case {
        std::string CsvImportFields::*Field;
        std::string Text;
        CsvImportField Expected;
    };
    const Case cases[] = {
        {&CsvImportFields::NamesLine, "one", CsvImportField::NamesLine},
        {&CsvImportFields::ToLine, "", CsvImportField::ToLine},
        {&CsvImportFields::FromColumn, "1.5", CsvImportField::FromColumn},
        {&CsvImportFields::SamplingRate, "100Hz", CsvImportField::SamplingRate},
        {&CsvImportFields::SamplingRate, "99999999999", CsvImportField::SamplingRate},
    };
    for (const Case& c : cases) {
        CsvImportFields fields = good;
        fields.*c.Field = c.Text;
        CsvImportSelection kept;
        CsvImportField bad = CsvImportField::None;
        Outcome o = ParseImportFields(fields, kept, &bad);
        ASSERT_FALSE(o.Ok()) << c.Text;
        EXPECT_EQ(o.Error->Text, "'" + c.Text + "' is not a valid integer value");
        EXPECT_EQ(bad, c.Expected) << c.Text;
        EXPECT_EQ(kept, CsvImportSelection{}) << "a refused field changes nothing";
    }
    CsvImportFields unit = good;
    unit.UnitIndex = 4;
    CsvImportField bad;
    EXPECT_FALSE(ParseImportFields(unit, s, &bad).Ok());
    EXPECT_EQ(bad, CsvImportField::Unit);
}

TEST(CsvImportSelection, RangesOutsideTheFileOrReversedAreRefused) {
    TempDir dir;
    CsvLineIndex index = Index(dir.Write("a.csv", TimedFile(10)));  // 14 lines, 3 columns
    const CsvImportSelection good = StartSelection(index);
    ASSERT_TRUE(CheckImportSelection(index, good).Ok());
    struct Case {
        int64_t CsvImportSelection::*Field;
        int64_t Value;
        CsvImportField Expected;
        std::string Text;
    };
    const Case cases[] = {
        {&CsvImportSelection::NamesLine, 0, CsvImportField::NamesLine,
         "SiteName Line 0 is not a line of the file; its lines are 1 to 14."},
        {&CsvImportSelection::MemoLine, 15, CsvImportField::MemoLine,
         "Memo Line 15 is not a line of the file; its lines are 1 to 14."},
        {&CsvImportSelection::UnitLine, -1, CsvImportField::UnitLine,
         "Unit Line -1 is not a line of the file; its lines are 1 to 14."},
        {&CsvImportSelection::ToLine, 15, CsvImportField::ToLine,
         "Data Line to 15 is not a line of the file; its lines are 1 to 14."},
        {&CsvImportSelection::FromLine, 14, CsvImportField::None, ""},  // one line is a record
        {&CsvImportSelection::ToLine, 4, CsvImportField::ToLine,
         "Data Line to (4) is before Data Line From (5)."},
        {&CsvImportSelection::FromColumn, 4, CsvImportField::FromColumn,
         "Data Column from 4 is not a column of the file; its lines have columns 1 to 3."},
        {&CsvImportSelection::ToColumn, 0, CsvImportField::ToColumn,
         "Data Column to (0) is before Data Column from (1)."},
        {&CsvImportSelection::ToColumn, 4, CsvImportField::ToColumn,
         "Data Column to 4 is beyond the widest line of the file (3 columns)."},
        {&CsvImportSelection::SamplingRate, 0, CsvImportField::SamplingRate,
         "The Sampling Rate must be a whole number above 0, not 0."},
        {&CsvImportSelection::SamplingRate, -5, CsvImportField::SamplingRate,
         "The Sampling Rate must be a whole number above 0, not -5."},
    };
    for (const Case& c : cases) {
        CsvImportSelection s = good;
        s.*c.Field = c.Value;
        CsvImportField bad = CsvImportField::Unit;
        Outcome o = CheckImportSelection(index, s, &bad);
        EXPECT_EQ(bad, c.Expected) << c.Text;
        if (c.Text.empty()) {
            EXPECT_TRUE(o.Ok());
            continue;
        }
        ASSERT_FALSE(o.Ok()) << c.Text;
        EXPECT_EQ(o.Error->Text, c.Text);
        EXPECT_EQ(o.Error->Caption, kImportCaption);
    }
    // Columns past the eighth are never read, so a "to" beyond the file is no fault there.
    std::string wide = "a,b,c,d,e,f,g,h,i,j\n\n\n\n1,2,3,4,5,6,7,8,9,10\n";
    CsvLineIndex wideIndex = Index(dir.Write("w.csv", wide));
    CsvImportSelection s = StartSelection(wideIndex);
    s.FromColumn = 2;
    s.ToColumn = 40;
    EXPECT_TRUE(CheckImportSelection(wideIndex, s).Ok());
}

// A record already loaded, to see that a refused import leaves it alone.
WaveRecord PreviousRecord() {
    WaveRecord r;
    r.FilePath = "/data/old.dbl";
    r.FileName = "old.dbl";
    r.Format = FormatType::Spc51;
    r.ChannelCount = 1;
    r.SampleCount = 3;
    r.SamplingRate = 50;
    r.Time = TimeUnit::Milliseconds;
    r.Title = "old title";
    r.Channels[0].Name = "old";
    r.Channels[0].Samples = {1, 2, 3};
    return r;
}

void ExpectUnchanged(const WaveRecord& r) {
    EXPECT_EQ(r.FilePath, "/data/old.dbl");
    EXPECT_EQ(r.Format, FormatType::Spc51);
    EXPECT_EQ(r.ChannelCount, 1);
    EXPECT_EQ(r.SampleCount, 3);
    EXPECT_EQ(r.Time, TimeUnit::Milliseconds);
    EXPECT_EQ(r.Title, "old title");
    EXPECT_EQ(r.Channels[0].Name, "old");
    EXPECT_EQ(r.Channels[0].Samples, (std::vector<int16_t>{1, 2, 3}));
}

TEST(CsvImport, TwoColumnsOfAHundredLinesAfterFourHeaderLines) {
    TempDir dir;
    const std::string path = dir.Write("two.csv", TimedFile(100));
    CsvLineIndex index = Index(path);
    CsvImportSelection s = StartSelection(index);
    s.FromColumn = 2;
    s.ToColumn = 3;
    s.SamplingRate = 1000;
    s.Unit = TimeUnit::Milliseconds;
    WaveRecord r = PreviousRecord();
    ASSERT_TRUE(ImportCsv(index, s, r).Ok());
    EXPECT_EQ(r.ChannelCount, 2);
    EXPECT_EQ(r.SampleCount, 100);
    EXPECT_EQ(r.SamplingRate, 1000);
    EXPECT_EQ(r.Time, TimeUnit::Milliseconds);
    EXPECT_EQ(r.RateUnitText, "ms");
    EXPECT_EQ(r.Format, FormatType::CsvArbitrary);
    EXPECT_EQ(r.FilePath, path);
    EXPECT_EQ(r.FileName, "two.csv");
    EXPECT_EQ(r.Title, "");
    EXPECT_EQ(r.Comment, "");
    EXPECT_EQ(r.DateText.size(), 19u);
    EXPECT_EQ(r.Header.SamplingRate(), 1000);
    EXPECT_EQ(r.Header.SampleCount(), 100);
    EXPECT_EQ(r.Channels[0].Name, "Acc X");
    EXPECT_EQ(r.Channels[1].Unit, "kine");
    EXPECT_EQ(r.Channels[1].DisplayUnit, "kine");
    EXPECT_EQ(r.Channels[1].RawPeak, 32000);
    // Channel 2 holds i % 7 − 3: the largest magnitude 3 maps to ±32000.
    EXPECT_FLOAT_EQ(r.Channels[1].ScaleFactor, 3.0f * 3.125e-5f);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(r.Channels[1].Samples[i], static_cast<int16_t>((i % 7 - 3) * 32000 / 3)) << i;
}

TEST(CsvImport, AtMostEightColumnsNamesAndZeros) {
    TempDir dir;
    // Column 1 is a label; columns 2 to 12 hold numbers; column 5 is all zeros; name 3 is blank.
    std::string text = "label,c2, ,c4,c5,c6,c7,c8,c9,c10,c11,c12\n\n\n";
    text += "-,u2,u3,u4\n";
    for (int i = 0; i < 5; ++i) {
        text += "row";
        for (int c = 2; c <= 12; ++c)
            text += "," + std::to_string(c == 5 ? 0 : (c * 10 + i) * (i % 2 ? -1 : 1));
        text += "\n";
    }
    CsvLineIndex index = Index(dir.Write("w.csv", text));
    CsvImportSelection s = StartSelection(index);
    s.FromColumn = 2;
    s.ToColumn = 12;
    WaveRecord r;
    ASSERT_TRUE(ImportCsv(index, s, r).Ok());
    ASSERT_EQ(r.ChannelCount, 8);  // columns 2 to 9
    EXPECT_EQ(r.Channels[0].Name, "c2");
    EXPECT_EQ(r.Channels[1].Name, "CH2");
    EXPECT_EQ(r.Channels[7].Name, "c9");
    EXPECT_EQ(r.Channels[2].Unit, "u4");
    EXPECT_EQ(r.Channels[3].Unit, "");  // the units line is shorter than the selection
    EXPECT_EQ(r.Channels[3].Samples, (std::vector<int16_t>(5, 0)));
    EXPECT_FLOAT_EQ(r.Channels[3].ScaleFactor, 3.125e-5f);
    EXPECT_EQ(r.Channels[7].Samples[4], 32000);  // 94 is the largest of column 9
}

// One column holding `cell` in its single data line.
Outcome ImportOneCell(const TempDir& dir, const std::string& cell, WaveRecord& r) {
    CsvLineIndex index = Index(dir.Write("cell.csv", "N\n\n\nU\n" + cell + "\n"));
    CsvImportSelection s = StartSelection(index);
    s.ToLine = 5;  // also when the cell is blank
    s.ToColumn = 1;
    return ImportCsv(index, s, r);
}

TEST(CsvImport, CellNumbersReadAsTheStandardReaderReadsThem) {
    TempDir dir;
    const char* accepted[] = {"1",         "+1.5",         " -2.5e3 ",
                              ".5",        "5.",           "\t7E-2",
                              "1e-400",    "1e30", "123456789012345678901234",
                              " 1.234e+01"};
    for (const char* cell : accepted) {
        WaveRecord r;
        ASSERT_TRUE(ImportOneCell(dir, cell, r).Ok()) << cell;
        // The standard reader skips the blanks before a field.
        const float v = ParseFieldValue(cell + std::strspn(cell, " \t"));
        EXPECT_EQ(r.Channels[0].ScaleFactor, ColumnScaleFactor(std::fabs(v))) << cell;
        EXPECT_EQ(r.Channels[0].Samples[0], QuantiseSample(v, std::fabs(v))) << cell;
    }
}

TEST(CsvImport, ABadCellIsRefusedByLineAndColumnAndChangesNothing) {
    TempDir dir;
    struct Case {
        std::string Cell;
        std::string Message;
    };
    const Case cases[] = {
        {"abc", "Line 5, column 1: \"abc\" is not a number."},
        {"12abc", "Line 5, column 1: \"12abc\" is not a number."},
        {"1.5.3", "Line 5, column 1: \"1.5.3\" is not a number."},
        {"0x10", "Line 5, column 1: \"0x10\" is not a number."},
        {"1e", "Line 5, column 1: \"1e\" is not a number."},
        {"--1", "Line 5, column 1: \"--1\" is not a number."},
        {"inf", "Line 5, column 1: \"inf\" is not a number."},
        {"nan", "Line 5, column 1: \"nan\" is not a number."},
        {"1 2", "Line 5, column 1: \"1 2\" is not a number."},
        {"", "Line 5, column 1 is empty; every selected cell must hold a number."},
        {"  ", "Line 5, column 1 is empty; every selected cell must hold a number."},
        {"1e39", "Line 5, column 1: 1e39 is beyond the range of values the program can analyse (-1e+30 to 1e+30)."},
        {"-5e300", "Line 5, column 1: -5e300 is beyond the range of values the program can analyse (-1e+30 to 1e+30)."},
        {"3.4e38", "Line 5, column 1: 3.4e38 is beyond the range of values the program can analyse (-1e+30 to 1e+30)."},
    };
    for (const Case& c : cases) {
        WaveRecord r = PreviousRecord();
        Outcome o = ImportOneCell(dir, c.Cell, r);
        ASSERT_FALSE(o.Ok()) << c.Cell;
        EXPECT_EQ(o.Error->Text, c.Message);
        EXPECT_EQ(o.Error->Caption, kImportCaption);
        ExpectUnchanged(r);
    }

    // A line shorter than the selection, and the time column passed over.
    CsvLineIndex index = Index(dir.Write("short.csv", TimedFile(3) + "0.03,1\n0.04\n"));
    CsvImportSelection s = StartSelection(index);
    s.ToLine = 9;
    s.FromColumn = 2;
    s.ToColumn = 3;
    WaveRecord r = PreviousRecord();
    Outcome o = ImportCsv(index, s, r);
    ASSERT_FALSE(o.Ok());
    EXPECT_EQ(o.Error->Text,
              "Line 8 has no column 3 (it has 2 cells); every data line must hold a number in every selected "
              "column.");
    s.ToLine = 8;
    s.ToColumn = 2;
    ASSERT_TRUE(ImportCsv(index, s, r).Ok());
    s.ToLine = 9;
    o = ImportCsv(index, s, r);
    ASSERT_FALSE(o.Ok());
    EXPECT_EQ(o.Error->Text.substr(0, 22), "Line 9 has no column 2");
}

TEST(CsvImport, ALargeFileIsReadInPiecesAndTheFirstBadCellNamed) {
    TempDir dir;
    std::string text = "A,B\n100,s\n\n\n";
    const int rows = 300000;  // about 5 MB: several pieces
    for (int i = 0; i < rows; ++i)
        text += std::to_string((i * 37) % 2001 - 1000) + "," + std::to_string(i) + "\n";
    const std::string path = dir.Write("large.csv", text);
    CsvLineIndex index = Index(path);
    WaveRecord r;
    ASSERT_TRUE(ImportCsv(index, StartSelection(index), r).Ok());
    ASSERT_EQ(r.SampleCount, rows);
    WaveRecord read;
    ASSERT_TRUE(ReadStandardCsv(path, read).Ok());
    EXPECT_EQ(r.Channels[0].Samples, read.Channels[0].Samples);
    EXPECT_EQ(r.Channels[1].Samples, read.Channels[1].Samples);
    EXPECT_EQ(r.Channels[1].ScaleFactor, read.Channels[1].ScaleFactor);

    // Bad cells near the end and in the middle: the earlier one is named.
    std::string bad = text;
    const size_t late = bad.rfind("\n", bad.size() - 2000) + 1;
    bad.insert(late, "x");
    const size_t middle = bad.find("\n", bad.size() / 2) + 1;
    bad.insert(middle, "y");
    const int64_t middleLine =
        std::count(bad.begin(), bad.begin() + static_cast<ptrdiff_t>(middle), '\n') + 1;
    CsvLineIndex badIndex = Index(dir.Write("bad.csv", bad));
    WaveRecord kept = PreviousRecord();
    Outcome o = ImportCsv(badIndex, StartSelection(badIndex), kept);
    ASSERT_FALSE(o.Ok());
    EXPECT_EQ(o.Error->Text.substr(0, o.Error->Text.find(':')),
              "Line " + std::to_string(middleLine) + ", column 1");
    ExpectUnchanged(kept);
}

TEST(CsvImport, CrLfLinesImportAsLfLinesAndChangesAreSeen) {
    TempDir dir;
    std::string lf = TimedFile(20), crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    CsvLineIndex a = Index(dir.Write("lf.csv", lf)), b = Index(dir.Write("crlf.csv", crlf));
    WaveRecord ra, rb;
    ASSERT_TRUE(ImportCsv(a, StartSelection(a), ra).Ok());
    ASSERT_TRUE(ImportCsv(b, StartSelection(b), rb).Ok());
    EXPECT_EQ(rb.Channels[2].Unit, "kine");
    for (int k = 0; k < 3; ++k) EXPECT_EQ(ra.Channels[k].Samples, rb.Channels[k].Samples);

    dir.Write("lf.csv", lf + "9,9,9\n");
    WaveRecord kept = PreviousRecord();
    Outcome o = ImportCsv(a, StartSelection(a), kept);
    ASSERT_FALSE(o.Ok());
    EXPECT_EQ(o.Error->Text,
              "The file lf.csv has been changed since it was read for the import; open it again.");
    ExpectUnchanged(kept);
}

TEST(CsvImport, CancelLeavesTheRecord) {
    TempDir dir;
    std::string text = "A\n\n\n\n";
    for (int i = 0; i < 40000; ++i) text += std::to_string(i) + "\n";
    CsvLineIndex index = Index(dir.Write("c.csv", text));
    WaveRecord r = PreviousRecord();
    Outcome o = ImportCsv(index, StartSelection(index), r, [](const std::string&, double) { return false; });
    EXPECT_TRUE(IsCancelled(o));
    ExpectUnchanged(r);
}

TEST(CsvImportSave, ProposedNames) {
    EXPECT_EQ(StandardCsvName("data.csv"), "data_std.csv");
    EXPECT_EQ(StandardCsvName("run1.txt"), "run1_std.txt");
    EXPECT_EQ(StandardCsvName("a.b.csv"), "a_std.b.csv");
    EXPECT_EQ(StandardCsvName("noext"), "noext_std.csv");
    EXPECT_EQ(StandardCsvName(".hidden"), ".hidden_std.csv");
    EXPECT_EQ(OverwriteQuestionText("x_std.csv"), "Same file x_std.csv is already exists. Overwrite?");
}

TEST(CsvImportSave, BytesOfTheStandardFile) {
    TempDir dir;
    // UTF-8 names (an editor's file) are written in code page 932; a blank name as "CH%d".
    const std::string text = "t,加速度, ,z\nfree\nm0,m1,m2,m3\ns,Gal,kine,mm\n0.0,1.5, -2 ,9\n0.1,-3,4e0,9\n";
    CsvLineIndex index = Index(dir.Write("in.csv", text));
    CsvImportSelection s = StartSelection(index);
    s.FromColumn = 2;
    s.ToColumn = 3;
    s.SamplingRate = 250;
    s.Unit = TimeUnit::Microseconds;
    WaveRecord r;
    ASSERT_TRUE(ImportCsv(index, s, r).Ok());
    const std::string out = dir.File("in_std.csv");
    ASSERT_TRUE(SaveAsStandardCsv(index, s, out).Ok());
    EXPECT_EQ(test::ReadAll(out),
              "\x89\xC1\x91\xAC\x93\x78,CH2\r\n250,\x83\xCAs\r\nm1,m2\r\nGal,kine\r\n1.5, -2 \r\n-3,4e0\r\n");

    // Read back by the standard reader: the same record.
    WaveRecord back;
    ASSERT_TRUE(ReadStandardCsv(out, back).Ok());
    EXPECT_EQ(back.ChannelCount, r.ChannelCount);
    EXPECT_EQ(back.SamplingRate, 250);
    EXPECT_EQ(back.Time, TimeUnit::Microseconds);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(back.Channels[k].Name, r.Channels[k].Name);
        EXPECT_EQ(back.Channels[k].Unit, r.Channels[k].Unit);
        EXPECT_EQ(back.Channels[k].Samples, r.Channels[k].Samples);
        EXPECT_EQ(back.Channels[k].ScaleFactor, r.Channels[k].ScaleFactor);
    }
}

TEST(CsvImportSave, EveryUnitReadsBackInItsUnit) {
    TempDir dir;
    CsvLineIndex index = Index(dir.Write("u.csv", TimedFile(5)));
    for (TimeUnit unit :
         {TimeUnit::Seconds, TimeUnit::Milliseconds, TimeUnit::Microseconds, TimeUnit::Nanoseconds}) {
        CsvImportSelection s = StartSelection(index);
        s.Unit = unit;
        const std::string out = dir.File("u_std.csv");
        ASSERT_TRUE(SaveAsStandardCsv(index, s, out).Ok());
        WaveRecord back;
        back.Time = unit == TimeUnit::Seconds ? TimeUnit::Nanoseconds : TimeUnit::Seconds;
        ASSERT_TRUE(ReadStandardCsv(out, back).Ok());
        EXPECT_EQ(back.Time, unit);
    }
}

TEST(CsvImportSave, NeverOverTheFileBeingImportedAndNothingLeftOnFailure) {
    TempDir dir;
    const std::string text = TimedFile(5);
    const std::string path = dir.Write("self.csv", text);
    CsvLineIndex index = Index(path);
    const CsvImportSelection s = StartSelection(index);
    ASSERT_EQ(::link(path.c_str(), dir.File("alias.csv").c_str()), 0);
    for (const std::string& target : {path, dir.File("alias.csv")}) {
        Outcome o = SaveAsStandardCsv(index, s, target);
        ASSERT_FALSE(o.Ok());
        EXPECT_EQ(o.Error->Caption, "File Name Error");
        EXPECT_EQ(test::ReadAll(path), text);
    }

    Outcome noFolder = SaveAsStandardCsv(index, s, dir.File("none/out.csv"));
    ASSERT_FALSE(noFolder.Ok());
    EXPECT_EQ(noFolder.Error->Text, "File open error");
    EXPECT_EQ(noFolder.Error->Caption, "FILE OPEN ERROR");

    // A file that changed since the preview is not copied.
    const std::string other = dir.Write("other.csv", "keep");
    dir.Write("self.csv", text + "1,2,3\n");
    Outcome changed = SaveAsStandardCsv(index, s, other);
    ASSERT_FALSE(changed.Ok());
    EXPECT_EQ(test::ReadAll(other), "keep");
}

}  // namespace
}  // namespace wavora
