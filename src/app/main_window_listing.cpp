// The data listing: a page of sample values in the value grid, continued by the list-up dialog.

#include <QLabel>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/app_windows.h"
#include "app/listup_dialog.h"
#include "app/main_window.h"
#include "record/text_format.h"
#include "display/string_grid.h"
#include "record/number_text.h"

namespace wavora {

void TForm1::BtnListClick() {
    ListPage(true);
}

void TForm1::ListPage(bool showDialog) {
    if (!state_.DataLoaded) return;
    WaveRecord& r = state_.Record;
    const int channels = std::clamp(r.ChannelCount, 0, kMaxChannels);
    StringGrid& grid = *ui_.StringGrid1;

    ui_.Data->setText("Data");
    ui_.Data1->setText("Data1");
    ui_.Data2->setText("Data2");
    ui_.Data3->setText("Data3");
    ui_.Data4->setText("Data4");

    const bool meter = IsBinaryFormat(r.Format);
    if (meter) {
        for (int k = 0; k < std::min(channels, 4); ++k) {
            std::string& unit = r.Channels[k].Unit;
            if (unit == "mm")
                unit = "micron";
            else if (unit == "kine")
                unit = "mkine";
        }
    }

    grid.SetColCount(channels + 1);
    if (grid.RowCount() < 3) grid.SetRowCount(3);
    grid.SetCell(0, 0, "");
    grid.SetCell(0, 1, "  Unit");
    grid.SetCell(0, 2, "  Max");
    for (int k = 0; k < channels; ++k) {
        const ChannelInfo& ch = r.Channels[k];
        grid.SetCell(k + 1, 0, meter ? StrPrintf("    CH %d", k + 1) : ch.Name);
        // The values are in the display unit, so the heading names it.
        grid.SetCell(k + 1, 1, "   " + ch.DisplayUnit);
        grid.SetCell(k + 1, 2, StrPrintf("%8.3f", static_cast<double>(ch.PeakValue)));
    }

    state_.ListStart = std::clamp(state_.Position, 0, std::max(r.SampleCount, 0));

    const std::string& lengthText = state_.ListLengthText;
    std::optional<int> length = StrictInt(lengthText);
    if (!length) {
        prompts_.Message(NotIntegerText(lengthText), kApplicationTitle, MessageIcon::Warning,
                         PromptButtons::Ok);
        return;
    }
    long long n = *length;
    if (state_.ListStart + n > r.SampleCount) n = static_cast<long long>(r.SampleCount) - state_.ListStart;
    if (n <= 0) {
        prompts_.Message("No List up data !! Return to Postion 0      ", "Data Error", MessageIcon::Warning,
                         PromptButtons::Ok);
        return;
    }

    // The page: the heading rows as they are, then the values, each made when it is shown.
    struct Page {
        int Start = 0;
        std::vector<std::string> Headings;  // row-major, 3 rows × (channels + 1) columns
        std::vector<std::vector<float>> Values;
    };
    auto page = std::make_shared<Page>();
    page->Start = state_.ListStart;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col <= channels; ++col) page->Headings.push_back(grid.Cell(col, row));
    for (int k = 0; k < channels; ++k) {
        const ChannelInfo& ch = r.Channels[k];
        std::vector<float> values(static_cast<size_t>(n), 0.0f);
        for (int i = 0; i < n; ++i) {
            const int at = state_.ListStart + i;
            if (at < static_cast<int>(ch.Samples.size())) values[i] = ch.Samples[at] * ch.ScaleFactor;
        }
        page->Values.push_back(std::move(values));
    }
    const int columns = channels + 1;
    grid.ShowListing(columns, static_cast<int>(n) + 3, [page, columns](int col, int row) -> std::string {
        if (row < 3) return page->Headings[static_cast<size_t>(row) * columns + col];
        if (col == 0) return StrPrintf("%6d", page->Start + row - 3);
        return StrPrintf("%8.3f", static_cast<double>(page->Values[col - 1][row - 3]));
    });
    grid.SetFixedRows(3);

    // The list-up dialog offers the next page.
    state_.ListFrom = static_cast<int32_t>(state_.ListStart + n);
    emit session_.Signals.positionChanged();
    DrawWave();
    if (showDialog) {
        Windows().Listup->show();
        Windows().Listup->raise();
    }
}

}  // namespace wavora
