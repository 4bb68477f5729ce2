#include "running/peaks_window.h"

#include <QAction>
#include <QActionGroup>
#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>
#include <tuple>

#include "app/main_commands.h"
#include "app/session.h"
#include "display/string_grid.h"
#include "draw/peak_histogram.h"
#include "draw/spectrum_display.h"
#include "graph/my_graph.h"

namespace wavora {

namespace {

// The menu items of one exclusive group, with the value each stands for.
template <size_t N>
std::array<QAction*, N> MakeGroup(QMenu* menu, const std::array<const char*, N>& names,
                                  const std::array<const char*, N>& captions) {
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    std::array<QAction*, N> items{};
    for (size_t i = 0; i < N; ++i) {
        items[i] = menu->addAction(QString::fromUtf8(captions[i]));
        items[i]->setObjectName(names[i]);
        items[i]->setCheckable(true);
        group->addAction(items[i]);
    }
    return items;
}

void Mark(QAction* item, bool on) {
    QSignalBlocker block(item);
    item->setChecked(on);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* hint = nullptr) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    if (hint) l->setToolTip(QString::fromUtf8(hint));
    return l;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// The value fields under "Average Max Peak Spectra": sunken, numbers to the right.
void AsReadout(QLabel* l) {
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(100);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace

TPeaks::TPeaks(Session& session, MainCommands& commands, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), session_(session), commands_(commands) {
    setObjectName("TPeaks");
    setWindowTitle("Spectral Peaks");

    // Menus.
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    Frequency1 = MainMenu1->addMenu("Frequency");
    Frequency1->setObjectName("Frequency1");
    Division1 = Frequency1->addMenu("Division");
    Division1->setObjectName("Division1");
    std::tie(N103, N202, N251, N501) =
        std::tuple_cat(MakeGroup<4>(Division1, {"N103", "N202", "N251", "N501"}, {"10", "20", "25", "50"}));
    Tops1 = Frequency1->addMenu("Tops");
    Tops1->setObjectName("Tops1");
    std::tie(N11, N31, N52, N102) =
        std::tuple_cat(MakeGroup<4>(Tops1, {"N11", "N31", "N52", "N102"}, {"1", "3", "5", "10"}));
    ScaleUnit1 = Frequency1->addMenu("Scale Unit");
    ScaleUnit1->setObjectName("ScaleUnit1");
    std::tie(N51, N101, N201) =
        std::tuple_cat(MakeGroup<3>(ScaleUnit1, {"N51", "N101", "N201"}, {"5", "10", "25"}));
    TimeInterval1 = Frequency1->addMenu("Time Interval");
    TimeInterval1->setObjectName("TimeInterval1");
    std::tie(N100ms, N200ms, N500ms, N1000ms) = std::tuple_cat(MakeGroup<4>(
        TimeInterval1, {"N100ms", "N200ms", "N500ms", "N1000ms"}, {"100 ms", "200 ms", "500 ms", "1000 ms"}));
    Clear1 = Frequency1->addAction("Clear");
    Clear1->setObjectName("Clear1");
    Help1 = MainMenu1->addMenu("Help");
    Help1->setObjectName("Help1");
    HelpforPeaks1 = Help1->addAction("Help for Peaks");
    HelpforPeaks1->setObjectName("HelpforPeaks1");

    // The peak table: order, frequency, value; a yellow heading row.
    Label2 = MakeLabel(this, "Label2");
    Label3 = MakeLabel(this, "Label3");
    StringGrid1 = new StringGrid(this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->SetColCount(PeakTable::kColumns);
    StringGrid1->SetRowCount(kMaxPeakTops + 1);
    StringGrid1->SetFixedRows(1);
    StringGrid1->SetFixedColor(QColor(0xFF, 0xFF, 0x80));
    // The order column is the grid's row heading, the other two its cells.
    StringGrid1->verticalHeader()->setFixedWidth(56);
    StringGrid1->setColumnWidth(0, 84);
    StringGrid1->setColumnWidth(1, 104);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setFixedSize(56 + 84 + 104 + 24, 11 * 18 + 8);
    Label8 = MakeLabel(this, "Label8");

    Label7 = MakeLabel(this, "Label7");
    Label7->setText("Average Max Peak Spectra");
    QFont bold = Label7->font();
    bold.setBold(true);
    Label7->setFont(bold);
    Label4 = MakeLabel(this, "Label4", "Averaging count");
    Label5 = MakeLabel(this, "Label5", "Average frequency");
    Label6 = MakeLabel(this, "Label6", "Average spectrum");
    for (QLabel* l : {Label4, Label5, Label6}) AsReadout(l);
    auto* averages = new QGridLayout;
    averages->addWidget(Label7, 0, 0, 1, 2);
    averages->addWidget(new QLabel("Count", this), 1, 0);
    averages->addWidget(Label4, 1, 1);
    averages->addWidget(new QLabel("Frequency", this), 2, 0);
    averages->addWidget(Label5, 2, 1);
    averages->addWidget(new QLabel("Value", this), 3, 0);
    averages->addWidget(Label6, 3, 1);

    // The histogram: 300 × 300, plot area 250 × 250 from (35, 270).
    MyGraph1 = new TMyGraph(session.Prompt, this);
    MyGraph1->setObjectName("MyGraph1");
    MyGraph1->setFixedSize(kPeakHistogramSize, kPeakHistogramSize);

    Button3 = MakeButton(this, "Button3", "Value(&V)");
    Button4 = MakeButton(this, "Button4", "Order(&O)");
    Button5 = MakeButton(this, "Button5", "Run/Stop(&R)");
    Button2 = MakeButton(this, "Button2", "Clear(&K)");
    Button1 = MakeButton(this, "Button1", "Close(&C)");
    Button4->setEnabled(false);

    auto* left = new QVBoxLayout;
    left->addWidget(Label2);
    left->addWidget(Label3);
    left->addWidget(StringGrid1);
    left->addWidget(Label8);
    left->addSpacing(6);
    left->addLayout(averages);
    left->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(MyGraph1, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button3, Button4, Button5, Button2}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addLayout(body);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(Clear1, &QAction::triggered, this, [this] { Clear1Click(); });
    connect(HelpforPeaks1, &QAction::triggered, this, [this] { HelpforPeaks1Click(); });
    const std::pair<QAction*, int> divisions[] = {{N103, 10}, {N202, 20}, {N251, 25}, {N501, 50}};
    for (auto [item, d] : divisions)
        connect(item, &QAction::triggered, this, [this, d = d] { DivisionClick(d); });
    const std::pair<QAction*, int> tops[] = {{N11, 1}, {N31, 3}, {N52, 5}, {N102, 10}};
    for (auto [item, t] : tops) connect(item, &QAction::triggered, this, [this, t = t] { TopsClick(t); });
    const std::pair<QAction*, int> units[] = {{N51, 5}, {N101, 10}, {N201, 25}};
    for (auto [item, u] : units)
        connect(item, &QAction::triggered, this, [this, u = u] { ScaleUnitClick(u); });
    const std::pair<QAction*, int> intervals[] = {
        {N100ms, 100}, {N200ms, 200}, {N500ms, 500}, {N1000ms, 1000}};
    for (auto [item, ms] : intervals)
        connect(item, &QAction::triggered, this, [this, ms = ms] { TimeIntervalClick(ms); });

    const SessionSignals& notices = session.Signals;
    for (auto signal : {&SessionSignals::peaksChanged, &SessionSignals::activityChanged,
                        &SessionSignals::optionsChanged, &SessionSignals::recordChanged})
        connect(&notices, signal, this, [this] { SyncFromState(); });
    SyncFromState();
    adjustSize();
}

// ---- showing the state ----

void TPeaks::SyncFromState() {
    ShowPeaks();
    SyncMenus();
    SyncButtons();
}

void TPeaks::ShowPeaks() {
    const SpectralPeaks& p = session_.State.Peaks;
    Label2->setText(QString::fromStdString(p.FileNameText));
    Label3->setText(QString::fromStdString(p.ChannelText));
    Label4->setText(QString::fromStdString(p.CountText));
    Label5->setText(QString::fromStdString(p.MeanFrequencyText));
    Label6->setText(QString::fromStdString(p.MeanValueText));
    Label8->setText(QString::fromStdString(p.DivisionText));

    const PeakTable& table = p.Table;
    StringGrid1->SetRowCount(table.RowCount());
    for (int r = 0; r < table.RowCount(); ++r)
        for (int c = 0; c < PeakTable::kColumns; ++c) StringGrid1->SetCell(c, r, table.Cell(r, c));
    StringGrid1->setVerticalScrollBarPolicy(table.VerticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                                    : Qt::ScrollBarAlwaysOff);
    StringGrid1->SetRow(table.SelectedRow);
    if (table.RowCount() <= kMaxPeakTops + 1) StringGrid1->scrollToTop();

    DrawPeakHistogram(*MyGraph1, MyGraph1->GraphCanvas(), p.Histogram);
}

void TPeaks::SyncMenus() {
    const SessionState& s = session_.State;
    const int division = s.Peaks.PeakDivision(), tops = s.Peaks.PeakTops(), unit = s.Peaks.ScaleUnit(),
              ms = s.AutoSkip.IntervalMs();
    Mark(N103, division == 10);
    Mark(N202, division == 20);
    Mark(N251, division == 25);
    Mark(N501, division == 50);
    Mark(N11, tops == 1);
    Mark(N31, tops == 3);
    Mark(N52, tops == 5);
    Mark(N102, tops == 10);
    Mark(N51, unit == 5);
    Mark(N101, unit == 10);
    Mark(N201, unit == 25);
    Mark(N100ms, ms == 100);
    Mark(N200ms, ms == 200);
    Mark(N500ms, ms == 500);
    Mark(N1000ms, ms == 1000);
}

void TPeaks::SyncButtons() {
    const SessionState& s = session_.State;
    const bool skipping = s.Running == Activity::AutoSkip;
    // Order waits for a Value listing made after the analysis.
    if (skipping) orderAvailable_ = false;
    for (QPushButton* b : {Button1, Button2, Button3}) b->setEnabled(!skipping);
    Button4->setEnabled(!skipping && orderAvailable_);
    // Run/Stop stops a running analysis; it starts one only as the main window's button would.
    Button5->setEnabled(skipping ||
                        (s.DataLoaded && s.Running == Activity::None && !s.Spectrum.Options.PeriodAxis));
}

// ---- commands ----

void TPeaks::Clear() {
    SessionState& s = session_.State;
    s.Peaks.Clear(PeakSpectrumKindOf(s.Analysis), s.Record.FrequencyText());
    emit session_.Signals.peaksChanged();
}

void TPeaks::Button1Click() {
    session_.State.Analysis.PeaksWindowOpen = false;
    hide();
}

void TPeaks::reject() {
    Button1Click();
}

void TPeaks::Button2Click() {
    Clear();
}

void TPeaks::Clear1Click() {
    Clear();
}

void TPeaks::Button3Click() {
    session_.State.Peaks.ListValues();
    orderAvailable_ = true;
    emit session_.Signals.peaksChanged();
}

void TPeaks::Button4Click() {
    session_.State.Peaks.ListOrder();
    emit session_.Signals.peaksChanged();
}

void TPeaks::Button5Click() {
    commands_.SBPeaksClick();
}

void TPeaks::DivisionClick(int division) {
    SessionState& s = session_.State;
    s.Peaks.SetPeakDivision(division, PeakSpectrumKindOf(s.Analysis), s.Record.FrequencyText());
    emit session_.Signals.peaksChanged();
}

void TPeaks::TopsClick(int tops) {
    session_.State.Peaks.SetPeakTops(tops);
    emit session_.Signals.peaksChanged();
}

void TPeaks::ScaleUnitClick(int count) {
    session_.State.Peaks.SetScaleUnit(count);
    emit session_.Signals.peaksChanged();
}

void TPeaks::TimeIntervalClick(int ms) {
    session_.State.AutoSkip.SetIntervalMs(ms);
    emit session_.Signals.optionsChanged();
}

void TPeaks::HelpforPeaks1Click() {
    commands_.ShowPeaksHelp();
}

// ---- the run's hook ----

bool GatherRunPeaks(SessionState& state, std::span<const SpectrumCurve> curves) {
    if (!state.Analysis.PeaksWindowOpen) return false;
    const SpectrumAxes& a = state.Spectrum.Axes;
    const PeakAxes axes{a.NGridX, a.SValueX, a.VValueX, a.LogX, a.LogY};
    bool gathered = false;
    for (const SpectrumCurve& curve : curves)
        gathered |=
            state.Peaks.Gather(curve.Values, state.Result, curve.Channel, axes, state.Record.FileName);
    return gathered;
}

}  // namespace wavora
