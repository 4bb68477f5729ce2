// The data listing: a page of sample values in the value grid, continued by the list-up dialog.

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>

#include "app/app_windows.h"
#include "app/listup_dialog.h"
#include "app/main_window.h"
#include "record/number_text.h"
#include "display/string_grid.h"
#include "app/prompts.h"

namespace wavora {

void TForm1::BtnListClick() {
    ListPage(true);
}

void TForm1::ListPage(bool showDialog) {
    if (!state_.DataLoaded) return;
    WaveRecord& r = state_.Record;
    const int channels = std::clamp(r.ChannelCount, 0, kMaxChannels);
    TListup& listup = *Windows().Listup;

    Data->setText("Data");
    Data1->setText("Data1");
    Data2->setText("Data2");
    Data3->setText("Data3");
    Data4->setText("Data4");

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

    StringGrid1->SetColCount(channels + 1);
    if (StringGrid1->RowCount() < 3) StringGrid1->SetRowCount(3);
    StringGrid1->SetCell(0, 0, "");
    StringGrid1->SetCell(0, 1, "  Unit");
    StringGrid1->SetCell(0, 2, "  Max");
    for (int k = 0; k < channels; ++k) {
        const ChannelInfo& ch = r.Channels[k];
        StringGrid1->SetCell(k + 1, 0, meter ? StrPrintf("    CH %d", k + 1) : ch.Name);
        // The values are in the display unit, so the heading names it.
        StringGrid1->SetCell(k + 1, 1, "   " + ch.DisplayUnit);
        StringGrid1->SetCell(k + 1, 2, StrPrintf("%8.3f", static_cast<double>(ch.PeakValue)));
    }

    std::optional<int> start = StrictInt(Label21->text().toStdString());
    state_.ListStart = std::clamp(start ? *start : TrackBar1->value(), 0, std::max(r.SampleCount, 0));

    const std::string lengthText = listup.Edit2->text().toStdString();
    std::optional<int> length = StrictInt(lengthText);
    if (!length) {
        ThePrompts().Message(NotIntegerText(lengthText), kApplicationTitle, MessageIcon::Warning,
                             PromptButtons::Ok);
        return;
    }
    long long n = *length;
    if (state_.ListStart + n > r.SampleCount) n = static_cast<long long>(r.SampleCount) - state_.ListStart;
    if (n <= 0) {
        ThePrompts().Message("No List up data !! Return to Postion 0      ", "Data Error",
                             MessageIcon::Warning, PromptButtons::Ok);
        return;
    }

    StringGrid1->SetRowCount(static_cast<int>(n) + 3);
    StringGrid1->SetFixedRows(3);
    for (int i = 0; i < n; ++i) {
        const int at = state_.ListStart + i;
        StringGrid1->SetCell(0, i + 3, StrPrintf("%6d", at));
        for (int k = 0; k < channels; ++k) {
            const ChannelInfo& ch = r.Channels[k];
            const double v = at < static_cast<int>(ch.Samples.size()) ? ch.Samples[at] * ch.ScaleFactor : 0.0;
            StringGrid1->SetCell(k + 1, i + 3, StrPrintf("%8.3f", v));
        }
    }

    listup.Edit1->setText(QString::number(state_.ListStart + n));
    DrawWave();
    if (showDialog) {
        listup.show();
        listup.raise();
    }
}

}  // namespace wavora
