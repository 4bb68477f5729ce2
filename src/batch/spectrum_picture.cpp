#include "batch/spectrum_picture.h"

#include <QImage>
#include <charconv>
#include <vector>

#include "batch/offscreen_gui.h"
#include "draw/image_canvas.h"
#include "draw/png_writer.h"
#include "draw/spectrum_format.h"
#include "draw/startup_picture.h"
#include "draw/wave_display.h"

namespace wavora::batch {

namespace {

std::vector<std::string> SplitColons(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos) return parts;
        start = colon + 1;
    }
}

bool WholeNumber(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// MIN:MAX:GRID[:log|linear]; MIN and MAX are checked by the format dialog's OK.
std::string AxisCheck(const std::string& text) {
    const std::vector<std::string> parts = SplitColons(text);
    int grid = 0;
    if (parts.size() < 3 || parts.size() > 4)
        return "expected MIN:MAX:GRID or MIN:MAX:GRID:log, not \"" + text + "\"";
    if (!WholeNumber(parts[2], grid) || grid < 1 || grid > 10)
        return "GRID must be a whole number from 1 to 10, not \"" + parts[2] + "\"";
    if (parts.size() == 4 && parts[3] != "log" && parts[3] != "linear")
        return "the scale after GRID must be log or linear, not \"" + parts[3] + "\"";
    return {};
}

std::string SizeCheck(const std::string& text) {
    if (SplitColons(text).size() != 2) return "expected W:H, not \"" + text + "\"";
    return {};
}

// An axis option into the dialog's fields for that axis.
void PutAxis(const std::string& option, std::string& start, std::string& end, int& grid, int& scale) {
    const std::vector<std::string> parts = SplitColons(option);
    start = parts[0];
    end = parts[1];
    WholeNumber(parts[2], grid);
    scale = parts.size() == 4 && parts[3] == "log" ? 1 : 0;
}

}  // namespace

void AddDisplayOptions(CLI::App& cmd, BatchDisplayOptions& o) {
    const char* group = "Display options (the spectrum picture, and the X max that the MEM grid follows)";
    cmd.add_option("--x-axis", o.XAxis,
                   "X axis from MIN to MAX in GRID intervals (1-10), optionally logarithmic, as the format "
                   "dialog's OK sets it")
        ->check(CLI::Validator(AxisCheck, "MIN:MAX:GRID[:log]", "axis"))
        ->group(group);
    cmd.add_option("--y-axis", o.YAxis,
                   "Y axis from MIN to MAX in GRID intervals (1-10), optionally logarithmic")
        ->check(CLI::Validator(AxisCheck, "MIN:MAX:GRID[:log]", "axis"))
        ->group(group);
    cmd.add_option("--size", o.Size,
                   "Plot area width and height in pixels (the format dialog's Width and Height)")
        ->check(CLI::Validator(SizeCheck, "W:H", "size"))
        ->group(group);
    cmd.add_flag("--period", o.Period, "Period instead of frequency on the X axis (\"X Value\" Period)")
        ->group(group);
    cmd.add_flag("--broad-line", o.BroadLine, "Curves 2 pixels wide (\"Broad Line\")")->group(group);
    cmd.add_flag("--no-sub-axis", o.NoSubAxis,
                 "Short ticks instead of dotted sub-division lines (\"SubAxis\" off)")
        ->group(group);
    cmd.add_flag("--styled-lines", o.StyledLines,
                 "Successive curves solid, dotted, dash-dot, dashed (the \"CBSolid\" box off)")
        ->group(group);
}

std::optional<float> XAxisMemFmax(const BatchDisplayOptions& o) {
    if (o.XAxis.empty()) return std::nullopt;
    SpectrumFormatFields fields;
    int grid = 1, scale = 0;
    PutAxis(o.XAxis, fields.EdSX0, fields.EdSXM, grid, scale);
    return MemFrequencyMaximum(fields);
}

std::optional<Failure> PrepareDisplay(const BatchDisplayOptions& o, bool zeroAverage,
                                      std::span<const SpectrumCurve> curves, SpectrumDisplay& display) {
    display = SpectrumDisplay{};
    // The menu options, and the dialog's boxes that follow them.
    display.Options.BroadLine = o.BroadLine;
    display.Options.SubAxis = !o.NoSubAxis;
    display.Options.ZeroAverage = zeroAverage;
    display.Format.CBBroad = display.Options.BroadLine;
    display.Format.CBSubAxis = display.Options.SubAxis;
    display.Format.CBSolid = !o.StyledLines;
    if (!o.ThroughFormatDialog()) return std::nullopt;

    // The dialog shows what the automatic drawing of this run wrote; the options change it, and OK
    // applies it.
    SpectrumAxes automatic;
    ChooseAutomaticAxes(automatic, curves);
    WriteBackAxes(automatic, display.Format);
    SpectrumFormatFields& f = display.Format;
    if (!o.XAxis.empty()) PutAxis(o.XAxis, f.EdSX0, f.EdSXM, f.UpDown2, f.RadioGroup2);
    if (!o.YAxis.empty()) PutAxis(o.YAxis, f.EdSY0, f.EdSYM, f.UpDown1, f.RadioGroup1);
    if (!o.Size.empty()) {
        const std::vector<std::string> parts = SplitColons(o.Size);
        f.Edlx = parts[0];
        f.Edly = parts[1];
    }
    f.RadioGroup3 = o.Period ? 1 : 0;
    const SpectrumFormatApplied applied = ApplySpectrumFormat(f, display.Axes, display.Options);
    return applied.Error;
}

Outcome WriteSpectrumPicture(const std::string& path, const SpectrumRunPicture& picture,
                             SpectrumDisplay& display, const SpectrumFrameInfo& info) {
    OffscreenGui gui;
    ImageCanvas canvas(kMainPictureWidth, kMainPictureHeight);
    // The picture's font as the window sets it at start-up.
    canvas.SetFont(kPictureFont, 12);
    canvas.SetFontColor(kBlack);
    WaveView view;
    if (auto failure = picture.Draw(canvas, display, view, info)) return Outcome::Fail(*failure);
    return WritePng(path, canvas.ToImage());
}

}  // namespace wavora::batch
