// The file-open pass of the main window and the commands that re-run it after a processing
// setting changes (filter, integration, clipping).

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <memory>

#include "analysis/load_pipeline.h"
#include "app/app_windows.h"
#include "app/csv_import_dialog.h"
#include "app/main_window.h"
#include "record/text_format.h"
#include "app/scroll_activity.h"
#include "display/radio_group.h"
#include "display/string_grid.h"

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

bool MentionsFilter(const std::string& what) {
    std::string lower = what;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return lower.find("filter") != std::string::npos;
}

}  // namespace

TForm1::ProcessingSnapshot TForm1::TakeProcessingSnapshot() const {
    return {state_.Filter, state_.Load, state_.FilterIndicator};
}

void TForm1::FormatTypeClick(FormatType type) {
    state_.Load.Format = type;
    OptionsChanged();
    BtnFileClick();
}

void TForm1::BtnFileClick() {
    RunFilePass(false);
}

void TForm1::RunFilePass(bool offerOpenFile) {
    passCompleted_ = false;
    if (state_.Loading) return;
    // A re-processing request holds for this pass only, however it ends.
    const bool reprocess = state_.ReprocessOnly;
    state_.ReprocessOnly = false;

    // Re-processing reads the open record's own file again, in its own format, whatever the menu
    // was set to after it was loaded.
    const FormatType format = reprocess && state_.DataLoaded && state_.Record.Format != FormatType::Transient
                                  ? state_.Record.Format
                                  : state_.Load.Format;
    const bool binary = IsBinaryFormat(format);
    const int filterIndex = format == FormatType::CsvDefault ? 1
                            : !binary                        ? 2
                            : format == FormatType::Spc51    ? 3
                                                             : 4;

    std::string path;
    if (reprocess) {
        path = state_.Record.FilePath;
    } else {
        FileDialogRequest request;
        request.Filter = kOpenFilter;
        request.FilterIndex = filterIndex;
        // The dialog opens in the open record's folder; a processing command that asks for the file
        // again offers the open record itself.
        if (state_.DataLoaded)
            request.InitialPath =
                offerOpenFile
                    ? state_.Record.FilePath
                    : QFileInfo(QString::fromStdString(state_.Record.FilePath)).absolutePath().toStdString();
        FileDialogAnswer answer = prompts_.OpenFile(request);
        if (!answer.Accepted) return;
        path = answer.Path;
        if (Utf8Length(path) > kMaxPathCharacters) {
            prompts_.Message(StrPrintf("File path to data file is too long!\n\n%s     ", path.c_str()),
                             "File Path Error", MessageIcon::Warning, PromptButtons::Ok);
            return;
        }
    }

    // A file of any other layout goes through the import dialog; an imported record is read
    // again without it, with the lines and columns accepted then.
    if (format == FormatType::CsvArbitrary && !reprocess) {
        passCompleted_ = RunImportPass(path);
        return;
    }

    // The new record is read into a scratch copy; the open record stays as it is unless the whole
    // read succeeds.
    WaveRecord scratch = HeaderCopy(state_.Record);
    scratch.FilePath = path;
    scratch.FileName = FileNameOf(path);
    if (binary) scratch.Time = TimeUnit::Seconds;
    LoadOptions options = state_.PassOptions();
    options.Format = format;
    FilterState filter = state_.Filter;

    state_.Loading = true;
    LoadResult result = LoadRecord(path, options, filter, scratch, PassProgress());
    state_.Loading = false;
    passCompleted_ = AdoptPassResult(std::move(result), scratch, filter, reprocess);
}

Progress TForm1::PassProgress() {
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    return [this, started](const std::string& what, double fraction) {
        // The filter notice shows at once; anything that takes long shows how far it is, with Cancel.
        if (MentionsFilter(what)) ShowProcessing(what);
        return started->elapsed() < ProgressDelayMs || ShowProgress(what, fraction);
    };
}

bool TForm1::RunImportPass(const std::string& path) {
    std::optional<CsvImportResult> imported = Windows().CSVArbitrary->Preview(path);
    if (!imported) return false;
    WaveRecord scratch = std::move(imported->Record);
    LoadOptions options = state_.PassOptions();
    options.Format = FormatType::CsvArbitrary;
    options.Import = imported->Selection;
    FilterState filter = state_.Filter;
    state_.Loading = true;
    LoadResult result = ProcessRecord(scratch, options, filter, PassProgress());
    state_.Loading = false;
    if (!AdoptPassResult(std::move(result), scratch, filter, false)) return false;
    // The selection is what a later pass over this record imports again.
    state_.Load.Import = imported->Selection;
    return true;
}

bool TForm1::AdoptPassResult(LoadResult result, WaveRecord& scratch, const FilterState& filter,
                             bool reprocess) {
    HideProcessing();
    if (result.Cancelled) return false;
    if (!result.Result.Ok()) {
        prompts_.Show(*result.Result.Error);
        return false;
    }
    for (const Failure& warning : result.Result.Warnings) prompts_.Show(warning);

    state_.Record = std::move(scratch);
    state_.Filter = filter;
    AdoptLoadedRecord(reprocess, result.Filtered);
    return true;
}

void TForm1::AdoptLoadedRecord(bool reprocess, bool filtered) {
    WaveRecord& r = state_.Record;
    const int channels = std::clamp(r.ChannelCount, 0, kMaxChannels);

    // Menus of a loaded record; the max table gets its two heading rows.
    ui_.WriteDataFile1->menuAction()->setEnabled(true);
    ui_.AnalizedData1->setEnabled(false);
    ui_.StringGrid1->SetFixedRows(2);

    state_.DataLoaded = true;
    ui_.SBFileSave->setEnabled(true);
    DisableAnalysisControls();
    scroll_->Stop();
    // The File menu works while an analysis runs; the new record ends it.
    EndTimedAnalyses();

    if (!state_.BandPass.FirstUseDone) {
        state_.BandPass.UpperText = StrPrintf("%.2f", r.SamplingRate * 0.25);
        state_.BandPass.FirstUseDone = true;
    }
    state_.RunIntervalText.clear();
    state_.RunDurationText.clear();
    state_.LastRunPicture.Clear();
    ui_.Data1->setText("Data1");
    ui_.Data2->setText("Data2");
    ui_.Data3->setText("Data3");
    ui_.Data4->setText("Data4");
    ui_.Data->setText("Data");

    state_.RecordFiltered = filtered;
    if (filtered) {
        state_.BandPass.RunCount += 1;
        state_.BandPass.Status = "Executed";
    }

    // Max table.
    StringGrid& grid = *ui_.StringGrid1;
    grid.SetRowCount(3);
    grid.SetColCount(channels + 1);
    grid.SetCell(0, 0, "");
    grid.SetCell(0, 1, "  Unit");
    grid.SetCell(0, 2, "  Max");
    const bool binary = IsBinaryFormat(r.Format);
    for (int k = 0; k < channels; ++k) {
        const ChannelInfo& ch = r.Channels[k];
        grid.SetCell(k + 1, 0, binary ? StrPrintf("   CH %d", k + 1) : ch.Name);
        grid.SetCell(k + 1, 1, "    " + ch.DisplayUnit);
        grid.SetCell(k + 1, 2, StrPrintf("%8.3f", static_cast<double>(ch.PeakValue)));
    }

    // Channels: the first one chosen, those of the record enabled.
    state_.Analysis.ChannelFlags.fill(false);
    state_.Analysis.ChannelFlags[0] = true;
    for (int k = 0; k < kMaxChannels; ++k) ui_.CBCh[k]->setEnabled(k < channels);

    // Waveform display: magnification ×1, every channel shown (the amplitude dialog follows).
    WaveView& v = state_.Wave;
    v.ChannelMagnification.fill(1.0f);
    v.WaveMagnification = 1.0f;
    v.DisplayChannels.fill(true);
    v.DisplayedCount = CountDisplayedChannels(r, v);

    if (!reprocess) {
        QSignalBlocker block(ui_.TrackBar1);
        ui_.TrackBar1->setMaximum(r.SampleCount);
        // A click in the groove moves one tick, a twentieth of the record.
        ui_.TrackBar1->setTickInterval(std::max(r.SampleCount / 20, 1));
        ui_.TrackBar1->setPageStep(std::max(r.SampleCount / 20, 1));
    }
    if (!reprocess) MovePosition(0);

    ui_.Filter1->menuAction()->setEnabled(true);
    ui_.Wave1->menuAction()->setEnabled(true);
    ui_.Spectrum1->menuAction()->setEnabled(true);
    ui_.Edit1->menuAction()->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*>{ui_.EdPosition, ui_.BtnZero, ui_.TrackBar1,
                                                      ui_.RadioGroup1, ui_.SBFilter})
        w->setEnabled(true);
    ui_.Copy1->setEnabled(true);
    ui_.FileComment1->setEnabled(true);
    ui_.FConvert->setEnabled(false);
    EnableAnalysisControls();
    ui_.SBRunSpec->setEnabled(false);

    state_.Analysis.Step = 1;
    state_.ListStart = 0;
    SyncFromState();

    DrawWave();

    if (state_.Load.IntegrationOn) {
        // Integration always runs the filter with it.
        state_.Filter.Active = true;
        state_.FilterIndicator = true;
    }

    BtnZeroClick();
    BtnListClick();
    state_.TwoDNeedsCompute = true;
    // Every window shows the new record (the list-up dialog closes).
    emit session_.Signals.recordChanged();
}

// ---- processing commands ----

bool TForm1::RunPassAfterSettingChange(const ProcessingSnapshot& before) {
    OptionsChanged();
    RunFilePass(true);
    if (passCompleted_) return true;
    // No new record: the settings go back to those the open record was made with.
    state_.Filter = before.Filter;
    state_.Load = before.Load;
    state_.FilterIndicator = before.FilterIndicator;
    OptionsChanged();
    return false;
}

void TForm1::CBLowCutClick(bool on) {
    ProcessingSnapshot before = TakeProcessingSnapshot();
    before.Filter.Active = !on;
    state_.Filter.Active = on;
    state_.FilterIndicator = on;
    if (!state_.DataLoaded) {
        OptionsChanged();
        return;
    }
    state_.ReprocessOnly = true;
    RunPassAfterSettingChange(before);
}

void TForm1::CBDCCutClick(bool on) {
    // Applied by the next load.
    state_.Load.DcCut = on;
    OptionsChanged();
}

bool TForm1::None2Click() {
    // Integration needs the filter; it cannot be switched off while integration is on.
    if (state_.Load.IntegrationOn) {
        OptionsChanged();
        return false;
    }
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    state_.Filter.Mode = FilterMode::Unfiltered;
    state_.Filter.Active = false;
    if (state_.DataLoaded) {
        state_.ReprocessOnly = true;
        if (!RunPassAfterSettingChange(before)) return false;
    }
    state_.FilterIndicator = false;
    OptionsChanged();
    return true;
}

bool TForm1::Default1Click() {
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    state_.Filter.Mode = FilterMode::Default;
    state_.Filter.Active = true;
    if (state_.DataLoaded) {
        state_.ReprocessOnly = true;
        if (!RunPassAfterSettingChange(before)) return false;
    }
    state_.FilterIndicator = true;
    OptionsChanged();
    return true;
}

bool TForm1::ReprocessRecord() {
    if (!state_.DataLoaded) return false;
    state_.ReprocessOnly = true;
    OptionsChanged();
    RunFilePass(false);
    return passCompleted_;
}

void TForm1::Arbitrary1Click() {
    state_.Filter.Active = true;
    state_.Filter.Mode = FilterMode::Arbitrary;
    OptionsChanged();
    SBFilterClick();
    state_.FilterIndicator = true;
    OptionsChanged();
}

void TForm1::IntegOnClick() {
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    state_.Load.IntegrationOn = true;
    RunPassAfterSettingChange(before);
}

void TForm1::IntegOffClick() {
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    state_.Load.IntegrationOn = false;
    RunPassAfterSettingChange(before);
}

void TForm1::ClippingClick(int item) {
    static constexpr float kFractions[] = {1.0f, 0.95f, 0.90f, 0.80f};
    item = std::clamp(item, 0, 3);
    const ProcessingSnapshot before = TakeProcessingSnapshot();
    state_.Load.ClipFraction = kFractions[item];
    state_.Load.ClipOn = item != 0;
    RunPassAfterSettingChange(before);
}

}  // namespace wavora
