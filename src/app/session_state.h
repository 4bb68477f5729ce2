#pragma once
// What the main window owns and the other windows use: the record, the processing and analysis
// settings, the display state and the activities. Plain data, and the one place each setting
// lives: a widget only shows it. A handler writes the state, then tells the windows through
// SessionSignals, and each window refreshes its own controls from here.

#include <cstdint>
#include <string>

#include "analysis/auto_skip.h"
#include "analysis/correlation_activity.h"
#include "analysis/load_pipeline.h"
#include "analysis/running_spectrum.h"
#include "analysis/spectral_peaks.h"
#include "analysis/spectrum_map.h"
#include "analysis/spectrum_run.h"
#include "analysis/statistics.h"
#include "draw/spectrum_display.h"
#include "draw/spectrum_format.h"
#include "draw/spectrum_state.h"
#include "draw/wave_display.h"
#include "record/filter_state.h"
#include "record/wave_record.h"

namespace wavora {

// The timed activity that holds the analysis controls (DisableAnalysisControls); a second one
// cannot start while it runs.
enum class Activity { None, Scroll, Running, AutoSkip, Correlation };

// Frame of one spectrum in the running multi-plot.
struct RunningPlotGeometry {
    int OriginX = 30, OriginY = 390, Width = 200, Height = 65;
};

// The band-pass dialog's fields as the file-open pass and the filter commands leave them.
struct BandPassFields {
    std::string LowerText = "1";
    std::string UpperText = "50";
    bool FirstUseDone = false;  // the upper corner got its first default from a loaded record
    int RunCount = 0;           // filter passes since the dialog's last command
    std::string Status = "Filtering";
    // The outer "Limit" corners beside the fields (Label12, Label11) and the default band (Label8).
    std::string LowerLimit, UpperLimit, DefaultBand;
};

// The running-spectrum dialog's settings as its controls hold them; an edit keeps its last valid
// number while the text is not one.
struct RunningDialogFields {
    int Init = 0;                            // "Init" (Edit1): the first sample of the next run
    int Max = 100;                           // "max" (EdMax): spectra averaged in single plot
    bool Multi = true;                       // "Multi Plot"
    bool Hidden = true;                      // "Hidden Line"
    bool EditBoxSkip = false;                // "SkipType": "Edit Box", else "Radio Btn"
    int SkipItem = kRunningDefaultSkipItem;  // "Skip ": the item of the list
    std::string SkipText = "250";            // Edit2, as typed
    std::string SkipTimeText = "Skip Time";  // Label4
    std::string CountText = "Count  0";      // Label3
};

struct SessionState {
    WaveRecord Record;
    FilterState Filter;
    // Format, "DC Cut", integration and clipping of every load. Its Step is not kept here: a pass
    // takes Analysis.Step (see PassOptions).
    LoadOptions Load;
    // Channels, points, step, type, smoothing, ratio, skip, MEM, file save and the flags of the
    // windows fed by a run. The fields with a home elsewhere are filled when a run starts
    // (RunSettings): MemFmax from the format fields, ZeroAverageEnabled and PeriodAxis from the
    // spectrum display options.
    AnalysisSettings Analysis;
    WaveView Wave;
    bool ColorLines = true;  // "Color": the channels in their colours, else all black
    // The spectrum graph: axes, drawing options ("Zero Average" and the period axis among them),
    // the frame being drawn and the format dialog's fields.
    SpectrumDisplay Spectrum;
    RunningPlotGeometry RunningPlot;
    BandPassFields BandPass;
    bool FilterIndicator = false;  // ImgFilter is shown (the band-pass dialog's Close hides it)

    Activity Running = Activity::None;  // the timed activity holding the analysis controls
    bool AnalysisLocked = false;        // DisableAnalysisControls is in force
    // The automatic skipping analysis (AutoSkipActive is AutoSkip.Active(); its run is the main
    // window's, handed in when the window is made) and the correlation analysis (CorrelationActive
    // is Correlation.Active()). Their timers belong to the main window's activity controllers.
    AutoSkipActivity AutoSkip{nullptr};
    CorrelationActivity Correlation;

    bool Loading = false;                 // a file-open pass is running; the timers wait for it
    bool DataLoaded = false;              // a record has been loaded at least once
    bool RecordFiltered = false;          // the pass that made the record filtered its samples
    bool ReprocessOnly = false;           // the next pass re-reads FilePath without the dialog
    int32_t Position = 0;                 // the position slider TrackBar1
    int32_t ListStart = 0;                // first sample of the listing page
    int32_t ListFrom = 0;                 // the list-up dialog's next start: the position, or the next page
    std::string ListLengthText = "1000";  // the list-up dialog's page length, as typed
    // The spectral peaks window's statistics, table, labels and histogram, with its Division and
    // Tops; gathered by every run while Analysis.PeaksWindowOpen is set.
    SpectralPeaks Peaks;
    bool TwoDNeedsCompute = false;  // the 2-D spectrum must be computed again
    std::string RunIntervalText;    // "FFT/MEM DT" and "FFT/MEM T" read-outs of the last run
    std::string RunDurationText;
    SpectrumResult Result;  // what the last run left: spectra, the result store, its settings
    // The curves and frame texts the last run drew, so that the picture can be drawn again with
    // new channel names without a new run (which would move on and write another result file).
    SpectrumRunPicture LastRunPicture;
    SpectrumFrameInfo LastRunFrame;
    bool SpectrumShown = false;  // a run has completed since the record was loaded
    // The statistics of the channel the last run analysed and displayed last (the statistics
    // window shows them); written by every run while Analysis.StatisticsWindowOpen is set.
    StatisticsLabels Statistics;
    std::string ProgramDate;  // "%d/%02d/%02d" of the executable's date
    std::string DefaultFileName = "sample.dbl";
    // The running spectrum and the 2-D map: the dialog's settings, the main window's "2D" (CB2D),
    // and the activity and map themselves, which live as long as the windows.
    RunningDialogFields RunningDialog;
    bool TwoD = false;
    RunningSpectrum RunningSpectra;
    SpectrumMap Map;

    // The load options of a pass: the processing choices with the step of the "Step" group.
    LoadOptions PassOptions() const {
        LoadOptions o = Load;
        o.Step = Analysis.Step;
        return o;
    }
    // The settings a spectrum run starts with.
    AnalysisSettings RunSettings() const {
        AnalysisSettings a = Analysis;
        a.ZeroAverageEnabled = Spectrum.Options.ZeroAverage;
        a.PeriodAxis = Spectrum.Options.PeriodAxis;
        a.MemFmax = MemFrequencyMaximum(Spectrum.Format);
        return a;
    }
    // The analysis size from "Points" (÷ 32 with "min").
    int Points() const { return Analysis.Points(); }
    int Step() const { return Analysis.Step < 1 ? 1 : Analysis.Step; }
};

}  // namespace wavora
