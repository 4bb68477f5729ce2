// The file-open pass of the main window and the commands that re-run it after a processing
// setting changes (filter, integration, clipping).

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "analysis/load_pipeline.h"
#include "app/app_windows.h"
#include "app/listup_dialog.h"
#include "app/main_window.h"
#include "display/amp_scale_dialog.h"
#include "display/click_label.h"
#include "record/number_text.h"
#include "display/radio_group.h"
#include "display/string_grid.h"
#include "app/prompts.h"

namespace wavora {

const char* const TForm1::kOpenFilter =
    "CSV "
    "規定ﾌｧｲﾙ(*.csv)|*.csv|CSV(GPL)ﾌｧｲﾙ(*.csv)|*.csv|SPC51ﾃﾞｰﾀﾌｧｲﾙ(*.dbl)|*.dbl|SPC35ﾃﾞｰﾀﾌｧｲﾙ(*.dbl)|*.dbl|"
    "すべて(*.*)|*.*";

namespace {

constexpr int kMaxPathCharacters = 255;

size_t Utf8Length(const std::string& s) {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The first `n` characters of a UTF-8 text.
std::string Utf8Prefix(const std::string& s, size_t n) {
    size_t count = 0, i = 0;
    for (; i < s.size(); ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            if (count == n) break;
            ++count;
        }
    }
    return s.substr(0, i);
}

int StepOfItem(int item) {
    static const int kSteps[] = {1, 2, 5, 10};
    return item >= 0 && item < 4 ? kSteps[item] : 1;
}

bool MentionsFilter(const std::string& what) {
    std::string lower = what;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return lower.find("filter") != std::string::npos;
}

}  // namespace

struct TForm1::ProcessingSnapshot {
    FilterState Filter;
    LoadSettings Load;
    bool None2 = true, Default1 = false, Arbitrary1 = false, LowCut = false, FilterShown = false;
    bool IntegOn = false, IntegShown = false;
    std::array<bool, 4> Clip{};
    bool ClipShown = false;
};

TForm1::ProcessingSnapshot TForm1::TakeProcessingSnapshot() const {
    ProcessingSnapshot s;
    s.Filter = state_.Filter;
    s.Load = state_.Load;
    s.None2 = None2->isChecked();
    s.Default1 = Default1->isChecked();
    s.Arbitrary1 = Arbitrary1->isChecked();
    s.LowCut = CBLowCut->isChecked();
    s.FilterShown = !ImgFilter->isHidden();
    s.IntegOn = IntegOn->isChecked();
    s.IntegShown = !ImgInteg->isHidden();
    s.Clip = {PCNT100->isChecked(), PCNT75->isChecked(), PCNT50->isChecked(), PCNT25->isChecked()};
    s.ClipShown = !ImgClip->isHidden();
    return s;
}

void TForm1::RestoreProcessingSnapshot(const ProcessingSnapshot& s) {
    state_.Filter = s.Filter;
    state_.Load = s.Load;
    None2->setChecked(s.None2);
    Default1->setChecked(s.Default1);
    Arbitrary1->setChecked(s.Arbitrary1);
    CBLowCut->setChecked(s.LowCut);
    ImgFilter->setVisible(s.FilterShown);
    IntegOn->setChecked(s.IntegOn);
    IntegOff->setChecked(!s.IntegOn);
    ImgInteg->setVisible(s.IntegShown);
    PCNT100->setChecked(s.Clip[0]);
    PCNT75->setChecked(s.Clip[1]);
    PCNT50->setChecked(s.Clip[2]);
    PCNT25->setChecked(s.Clip[3]);
    ImgClip->setVisible(s.ClipShown);
}

FormatType TForm1::CheckedFormat() const {
    if (CSVGPL->isChecked()) return FormatType::CsvGpl;
    if (CSVArb->isChecked()) return FormatType::CsvArbitrary;
    if (SPC51->isChecked()) return FormatType::Spc51;
    if (SPC35->isChecked()) return FormatType::Spc35;
    return FormatType::CsvDefault;
}

void TForm1::FormatTypeClick(FormatType type) {
    QAction* items[] = {CSVDef, CSVGPL, CSVArb, SPC51, SPC35};
    for (int i = 0; i < 5; ++i) items[i]->setChecked(i == static_cast<int>(type));
    Label28->setText(FormatCaption(type));
    BtnFileClick();
}

void TForm1::SetTimeUnit(TimeUnit unit) {
    QAction* items[] = {second, milisecond, microsecond, nanosecond};
    for (int i = 0; i < 4; ++i) items[i]->setChecked(i == static_cast<int>(unit));
    WaveRecord& r = state_.Record;
    r.Time = unit;
    state_.BandPass.UnitText = r.FrequencyText();
    Label30->setText(QString::fromUtf8(r.TimeText()));
    Label4->setText(QString::fromStdString(StrPrintf("%d/%s", r.SamplingRate, r.TimeText())));
    Label24->setText(QString::fromStdString(
        StrPrintf("%.2f (%s)", static_cast<double>(r.SampleCount * r.SamplingInterval), r.TimeText())));
    Label25->setText(QString::fromStdString(
        StrPrintf("%.4f (%s)", static_cast<double>(r.SamplingInterval), r.TimeText())));
}

void TForm1::BtnFileClick() {
    passCompleted_ = false;
    if (loading_) return;
    // A re-processing request holds for this pass only, however it ends.
    const bool reprocess = state_.ReprocessOnly;
    state_.ReprocessOnly = false;

    // Re-processing reads the open record's own file again, in its own format, whatever the menu
    // was set to after it was loaded.
    const FormatType format = reprocess && state_.DataLoaded && state_.Record.Format != FormatType::Transient
                                  ? state_.Record.Format
                                  : CheckedFormat();
    const bool binary = IsBinaryFormat(format);
    const int filterIndex = format == FormatType::CsvDefault ? 1
                            : !binary                        ? 2
                            : format == FormatType::Spc51    ? 3
                                                             : 4;

    if (format == FormatType::CsvArbitrary) {
        ThePrompts().Show(Failure::Notice(
            "Import of arbitrary CSV files (CSV(Arbitrary)) is not available in this version yet.\n"
            "Choose another format under File - Format Type."));
        return;
    }
    std::string path;
    if (reprocess) {
        path = state_.Record.FilePath;
    } else {
        FileDialogRequest request;
        request.Filter = kOpenFilter;
        request.FilterIndex = filterIndex;
        if (state_.DataLoaded)
            request.InitialPath =
                QFileInfo(QString::fromStdString(state_.Record.FilePath)).absolutePath().toStdString();
        FileDialogAnswer answer = ThePrompts().OpenFile(request);
        if (!answer.Accepted) return;
        path = answer.Path;
        if (Utf8Length(path) > kMaxPathCharacters) {
            ThePrompts().Message(StrPrintf("File path to data file is too long!\n\n%s     ", path.c_str()),
                                 "File Path Error", MessageIcon::Warning, PromptButtons::Ok);
            return;
        }
    }

    // The new record is read into a scratch copy; the open record stays as it is unless the whole
    // read succeeds.
    WaveRecord scratch = HeaderCopy(state_.Record);
    scratch.FilePath = path;
    scratch.FileName = FileNameOf(path);
    if (binary) scratch.Time = TimeUnit::Seconds;
    LoadOptions options;
    options.Format = format;
    options.DcCut = CBDCCut->isChecked();
    options.IntegrationOn = state_.Load.IntegrationOn;
    options.ClipOn = state_.Load.ClipOn;
    options.ClipFraction = state_.Load.ClipFraction;
    options.Step = StepOfItem(RadioGroup1->ItemIndex());
    FilterState filter = state_.Filter;

    loading_ = true;
    LoadResult result = LoadRecord(path, options, filter, scratch, [this](const std::string& what, double) {
        if (MentionsFilter(what)) ShowProcessing(what);
        return true;
    });
    loading_ = false;
    HideProcessing();
    if (result.Cancelled) return;
    if (!result.Result.Ok()) {
        ThePrompts().Show(*result.Result.Error);
        return;
    }
    for (const Failure& warning : result.Result.Warnings) ThePrompts().Show(warning);

    state_.Record = std::move(scratch);
    state_.Filter = filter;
    AdoptLoadedRecord(reprocess, result.Filtered);
    passCompleted_ = true;
}

void TForm1::AdoptLoadedRecord(bool reprocess, bool filtered) {
    WaveRecord& r = state_.Record;
    const int channels = std::clamp(r.ChannelCount, 0, kMaxChannels);

    // Menus of a loaded record; the max table gets its two heading rows.
    WriteDataFile1->menuAction()->setEnabled(true);
    AnalizedData1->setEnabled(false);
    StringGrid1->SetFixedRows(2);

    state_.DataLoaded = true;
    SBFileSave->setEnabled(true);
    DisableAnalysisControls();
    Timer1->stop();

    if (!state_.BandPass.FirstUseDone) {
        state_.BandPass.UpperText = StrPrintf("%.2f", r.SamplingRate * 0.25);
        state_.BandPass.FirstUseDone = true;
    }

    SetTimeUnit(r.Time);
    Label1->setText(QString::fromStdString(r.FileName));
    Label2->setText(QString::number(r.ChannelCount));
    Label3->setText(QString::number(r.SampleCount));
    Data1->setText("Data1");
    Data2->setText("Data2");
    Data3->setText("Data3");
    Data4->setText("Data4");
    Label16->clear();
    Label20->clear();
    Data->setText("Data");
    Label11->setText(QString::fromStdString(r.Title));
    Label12->setText(QString::fromStdString(Utf8Prefix(r.DateText, 19)));

    if (filtered) {
        state_.BandPass.RunCount += 1;
        state_.BandPass.Status = "Executed";
    }

    // Max table.
    StringGrid1->SetRowCount(3);
    StringGrid1->SetColCount(channels + 1);
    StringGrid1->SetCell(0, 0, "");
    StringGrid1->SetCell(0, 1, "  Unit");
    StringGrid1->SetCell(0, 2, "  Max");
    const bool binary = IsBinaryFormat(r.Format);
    for (int k = 0; k < channels; ++k) {
        const ChannelInfo& ch = r.Channels[k];
        StringGrid1->SetCell(k + 1, 0, binary ? StrPrintf("   CH %d", k + 1) : ch.Name);
        StringGrid1->SetCell(k + 1, 1, "    " + ch.DisplayUnit);
        StringGrid1->SetCell(k + 1, 2, StrPrintf("%8.3f", static_cast<double>(ch.PeakValue)));
    }

    // Channel boxes: the first one checked, those of the record enabled.
    for (int k = 0; k < kMaxChannels; ++k) {
        CBCh[k]->setEnabled(false);
        CBCh[k]->setChecked(k == 0);
    }
    for (int k = 0; k < channels; ++k) CBCh[k]->setEnabled(true);

    // Amplitude dialog: fields of the record's channels, magnification ×1, every channel shown.
    TAmpScale& amp = AmpScale();
    for (int k = 0; k < kMaxChannels; ++k) {
        amp.Edits[k]->setEnabled(k < channels);
        amp.DisplayBoxes[k]->setEnabled(k < channels);
        TAmpScale::SetCheckQuietly(amp.DisplayBoxes[k], true);
    }
    amp.RadioGroup1->SetItemIndex(0);
    amp.RadioGroup1Click();
    state_.Wave.ChannelMagnification.fill(1.0f);

    if (!reprocess) {
        TrackBar1->setMaximum(r.SampleCount);
        TrackBar1->setTickInterval(std::max(r.SampleCount / 20, 1));
        TrackBar1->setValue(0);
        Label21->setText("0");
        EdPosition->setText("0");
    }

    Filter1->menuAction()->setEnabled(true);
    Wave1->menuAction()->setEnabled(true);
    Spectrum1->menuAction()->setEnabled(true);
    Edit1->menuAction()->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*>{EdPosition, BtnZero, TrackBar1, RadioGroup1, SBFilter})
        w->setEnabled(true);
    Copy1->setEnabled(true);
    FileComment1->setEnabled(true);
    FConvert->setEnabled(false);
    EnableAnalysisControls();
    SBRunSpec->setEnabled(false);

    state_.Wave.Step = 1;
    state_.ListStart = 0;
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->setTitle(QString::fromStdString(
        StrPrintf("Step %.4f [%s]", static_cast<double>(r.SamplingInterval), r.TimeText())));

    DrawWave();

    if (state_.Load.IntegrationOn) {
        // Integration always runs the filter with it.
        CBLowCut->setChecked(true);
        state_.Filter.Active = true;
        ImgFilter->setVisible(true);
    }

    BtnZeroClick();
    BtnListClick();
    Windows().Listup->close();
    state_.TwoDNeedsCompute = true;
}

// ---- processing commands ----

bool TForm1::RunPassAfterSettingChange(const ProcessingSnapshot& before) {
    BtnFileClick();
    if (passCompleted_) return true;
    // No new record: the settings go back to those the open record was made with.
    RestoreProcessingSnapshot(before);
    return false;
}

void TForm1::SetFilterMode(FilterMode mode) {
    state_.Filter.Mode = mode;
    None2->setChecked(mode == FilterMode::Unfiltered);
    Default1->setChecked(mode == FilterMode::Default);
    Arbitrary1->setChecked(mode == FilterMode::Arbitrary);
}

void TForm1::CBLowCutClick() {
    ProcessingSnapshot before = TakeProcessingSnapshot();
    before.LowCut = !CBLowCut->isChecked();
    before.Filter.Active = before.LowCut;
    before.FilterShown = !ImgFilter->isHidden();
    state_.Filter.Active = CBLowCut->isChecked();
    ImgFilter->setVisible(CBLowCut->isChecked());
    if (!state_.DataLoaded) return;
    state_.ReprocessOnly = true;
    RunPassAfterSettingChange(before);
}

void TForm1::None2Click() {
    // Integration needs the filter; it cannot be switched off while integration is on.
    if (state_.Load.IntegrationOn) {
        None2->setChecked(state_.Filter.Mode == FilterMode::Unfiltered);
        return;
    }
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    SetFilterMode(FilterMode::Unfiltered);
    CBLowCut->setChecked(false);
    state_.Filter.Active = false;
    if (state_.DataLoaded) {
        state_.ReprocessOnly = true;
        if (!RunPassAfterSettingChange(before)) return;
    }
    ImgFilter->setVisible(false);
}

void TForm1::Default1Click() {
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    SetFilterMode(FilterMode::Default);
    CBLowCut->setChecked(true);
    state_.Filter.Active = true;
    if (state_.DataLoaded) {
        state_.ReprocessOnly = true;
        if (!RunPassAfterSettingChange(before)) return;
    }
    ImgFilter->setVisible(true);
}

void TForm1::Arbitrary1Click() {
    CBLowCut->setChecked(true);
    SetFilterMode(FilterMode::Arbitrary);
    SBFilterClick();
    state_.Filter.Active = true;
    ImgFilter->setVisible(true);
}

void TForm1::SetIntegrationIndicator(bool on) {
    IntegOn->setChecked(on);
    IntegOff->setChecked(!on);
    state_.Load.IntegrationOn = on;
    ImgInteg->setVisible(on);
}

void TForm1::IntegOnClick() {
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    SetIntegrationIndicator(true);
    RunPassAfterSettingChange(before);
}

void TForm1::IntegOffClick() {
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    SetIntegrationIndicator(false);
    RunPassAfterSettingChange(before);
}

void TForm1::ClippingClick(QAction* item) {
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    struct Level {
        QAction* Item;
        float Fraction;
    };
    const Level levels[] = {{PCNT100, 1.0f}, {PCNT75, 0.95f}, {PCNT50, 0.90f}, {PCNT25, 0.80f}};
    for (const Level& l : levels) {
        l.Item->setChecked(l.Item == item);
        if (l.Item == item) state_.Load.ClipFraction = l.Fraction;
    }
    state_.Load.ClipOn = item != PCNT100;
    ImgClip->setVisible(state_.Load.ClipOn);
    RunPassAfterSettingChange(before);
}

}  // namespace wavora
