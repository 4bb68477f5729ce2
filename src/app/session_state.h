#pragma once
// What the main window owns and the other windows use: the record, the processing and analysis
// settings, the display state and the activity flags. Plain data; the windows hold a reference.

#include <cstdint>
#include <string>

#include "record/filter_state.h"
#include "draw/wave_display.h"
#include "record/wave_record.h"

namespace wavora {

// Timed activities; the disabled controls keep them apart.
struct ActivityFlags {
    bool RunningActive = false;
    bool AutoSkipActive = false;
    bool CorrelationActive = false;
    bool PeaksWindowOpen = false;
    bool StatisticsWindowOpen = false;
    bool PeriodAxis = false;  // the spectrum x axis shows the period
};

// Options applied by every load: "DC Cut", integration and clipping.
struct LoadSettings {
    bool DcCut = false;
    bool IntegrationOn = false;
    bool ClipOn = false;
    float ClipFraction = 1.0f;
};

// Spectrum options mirrored by the "Spectrum" and "Edit" menus.
struct SpectrumOptions {
    bool ZeroAverage = true;
    bool SubAxis = true;
    bool BroadLine = false;
    bool RightSideComment = true;
    bool DataComment = true;
    bool AbsCoeffMode = false;
    bool AutoScale = true;
};

// Frame of one spectrum in the running multi-plot.
struct RunningPlotGeometry {
    int OriginX = 30, OriginY = 390, Width = 200, Height = 65;
};

// The fields of the band-pass dialog that the file-open pass writes.
struct BandPassFields {
    std::string LowerText = "1";
    std::string UpperText = "50";
    bool FirstUseDone = false;  // the upper corner got its first default from a loaded record
    int RunCount = 0;           // filter passes since the dialog's last command
    std::string Status = "Filtering";
    std::string UnitText = "Hz";  // the two frequency-unit labels
};

struct SessionState {
    WaveRecord Record;
    FilterState Filter;
    LoadSettings Load;
    WaveView Wave;
    ActivityFlags Activity;
    SpectrumOptions Spectrum;
    RunningPlotGeometry RunningPlot;
    BandPassFields BandPass;

    bool DataLoaded = false;     // a record has been loaded at least once
    bool ReprocessOnly = false;  // the next pass re-reads FilePath without the dialog
    int32_t ListStart = 0;       // first sample of the listing page
    int SkipDivisor = 1;         // advance after a run: 0 none, 4 quarter, 2 half, 1 whole
    int RatioMode = 0;           // spectral ratio: 0 off, 1 A/B, 2 B/A
    int PeakDivision = 20;
    int PeakTops = 5;
    bool TwoDNeedsCompute = false;  // the 2-D spectrum must be computed again
    std::string ProgramDate;        // "%d/%02d/%02d" of the executable's date
    std::string DefaultFileName = "sample.dbl";
};

}  // namespace wavora
