#include "running/twod_plot.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <optional>

#include "app/main_commands.h"
#include "app/session.h"
#include "draw/running_display.h"
#include "draw/spectrum_format.h"
#include "graph/my_graph.h"
#include "record/text_format.h"

namespace wavora {

const char* const TTWODPlot::kSaveFilter = "PNGﾌｧｲﾙ(*.png)|*.png|すべて (*.*)|*.*";

namespace {

constexpr const char* kCrossHairHint =
    "Hold the mouse button on the map and drag: the cross-hair reads (f, t)";

void SetTextQuietly(QLineEdit* e, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (e->text() == t) return;
    QSignalBlocker block(e);
    e->setText(t);
}

// A field that shows a number keeps its text while that text holds the number.
void ShowNumber(QLineEdit* e, float value) {
    if (FieldNumber(e->text().toStdString()) == value) return;
    SetTextQuietly(e, StrPrintf("%g", static_cast<double>(value)));
}

void SetValueQuietly(QSpinBox* s, int value) {
    QSignalBlocker block(s);
    s->setValue(value);
}

QLineEdit* MakeEdit(const char* name, const char* text, QWidget* parent) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setFixedWidth(70);
    return e;
}

QSpinBox* MakeUpDown(const char* name, int maximum, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(1, maximum);
    s->setValue(4);
    s->setFixedWidth(50);
    return s;
}

QPushButton* MakeButton(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* MakeLabel(const char* name, const char* text, QWidget* parent) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(name);
    return l;
}

}  // namespace

TTWODPlot::TTWODPlot(Session& session, MainCommands& commands, QWidget* parent)
    : QDialog(parent, Qt::Window), session_(session), commands_(commands) {
    setObjectName("TTWODPlot");
    setWindowTitle("2D Spectrum Plot");

    MyGraph1 = new TMyGraph(session.Prompt, this);
    MyGraph1->setObjectName("MyGraph1");
    MyGraph1->setFixedSize(433, 417);
    MyGraph1->OriginX = 70;
    MyGraph1->OriginY = 380;
    MyGraph1->WidthX = 300;
    MyGraph1->HeightY = 300;
    MyGraph1->TitleX = "Frequency f[Hz]";
    MyGraph1->TitleY = "";
    MyGraph1->GraphCanvas().SetFont(kMapFont, kMapFontSize);
    MyGraph1->setToolTip(kCrossHairHint);

    const MapFields& f = session.State.Map.Fields;
    Edit1 = MakeEdit("Edit1", "20", this);
    Edit5 = MakeEdit("Edit5", "0", this);
    UpperUnitLabel = MakeLabel("UpperUnitLabel", "Hz", this);
    LowerUnitLabel = MakeLabel("LowerUnitLabel", "Hz", this);
    UpDown1 = MakeUpDown("UpDown1", 10, this);
    Edit3 = MakeEdit("Edit3", "60", this);
    TimeUnitLabel = MakeLabel("TimeUnitLabel", "s", this);
    UpDown2 = MakeUpDown("UpDown2", 10, this);
    CBAuto = new QCheckBox("Auto", this);
    CBAuto->setObjectName("CBAuto");
    CBAuto->setChecked(f.Auto);
    Edit8 = MakeEdit("Edit8", "20", this);
    UpDown3 = MakeUpDown("UpDown3", 5, this);
    Label10 = MakeLabel("Label10", "(f, t)", this);
    Label17 = MakeLabel("Label17", "123", this);
    Label18 = MakeLabel("Label18", "/", this);
    Label19 = MakeLabel("Label19", "123", this);
    Label20 = MakeLabel("Label20", "", this);
    Label20->hide();
    Button3 = MakeButton("Button3", "Set", this);
    Button5 = MakeButton("Button5", "Run", this);
    Button6 = MakeButton("Button6", "Stop", this);
    Button6->setEnabled(false);
    Button7 = MakeButton("Button7", "０", this);
    Button2 = MakeButton("Button2", "Copy", this);
    Button4 = MakeButton("Button4", "Save", this);
    Button2->setEnabled(false);  // nothing to copy or save before a map
    Button4->setEnabled(false);
    Button1 = MakeButton("Button1", "Close", this);

    // The settings beside the chart, top to bottom.
    auto* frequency = new QGridLayout;
    frequency->addWidget(new QLabel("Frequency", this), 0, 0, 1, 3);
    frequency->addWidget(new QLabel("Upper Limit", this), 1, 0);
    frequency->addWidget(Edit1, 1, 1);
    frequency->addWidget(UpperUnitLabel, 1, 2);
    frequency->addWidget(new QLabel("Lower Limit", this), 2, 0);
    frequency->addWidget(Edit5, 2, 1);
    frequency->addWidget(LowerUnitLabel, 2, 2);
    frequency->addWidget(new QLabel("Grid", this), 3, 0);
    frequency->addWidget(UpDown1, 3, 1);
    frequency->addWidget(new QLabel("Elapsed Time", this), 4, 0, 1, 3);
    frequency->addWidget(new QLabel("Max", this), 5, 0);
    frequency->addWidget(Edit3, 5, 1);
    frequency->addWidget(TimeUnitLabel, 5, 2);
    frequency->addWidget(new QLabel("Grid", this), 6, 0);
    frequency->addWidget(UpDown2, 6, 1);
    frequency->addWidget(new QLabel("Color Scale", this), 7, 0);
    frequency->addWidget(CBAuto, 7, 1);
    frequency->addWidget(new QLabel("Max", this), 8, 0);
    frequency->addWidget(Edit8, 8, 1);
    frequency->addWidget(new QLabel("Grid", this), 9, 0);
    frequency->addWidget(UpDown3, 9, 1);

    auto* rows = new QHBoxLayout;
    rows->addWidget(Label17);
    rows->addWidget(Label18);
    rows->addWidget(Label19);
    rows->addStretch(1);

    // Run and Stop on their green panel.
    auto* panel = new QFrame(this);
    panel->setObjectName("RunPanel");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setStyleSheet("#RunPanel { background-color: #008000; }");
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(Button5);
    panelLayout->addWidget(Button6);

    auto* side = new QVBoxLayout;
    side->addLayout(frequency);
    side->addWidget(Button3);
    side->addLayout(rows);
    side->addWidget(panel);
    side->addWidget(Button7);
    side->addStretch(1);
    side->addWidget(Button2);
    side->addWidget(Button4);
    side->addWidget(Button1);

    auto* left = new QVBoxLayout;
    left->addWidget(MyGraph1);
    left->addWidget(Label10);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left);
    main->addLayout(side);

    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    connect(Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& t) { Edit1Change(t.toStdString()); });
    connect(Edit5, &QLineEdit::textEdited, this, [this](const QString& t) { Edit5Change(t.toStdString()); });
    connect(Edit3, &QLineEdit::textEdited, this, [this](const QString& t) { Edit3Change(t.toStdString()); });
    connect(Edit8, &QLineEdit::textEdited, this, [this](const QString& t) { Edit8Change(t.toStdString()); });
    connect(CBAuto, &QCheckBox::clicked, this, [this](bool on) { CBAutoClick(on); });
    connect(UpDown1, &QSpinBox::valueChanged, this, [this](int v) { UpDown1Click(v); });
    connect(UpDown2, &QSpinBox::valueChanged, this, [this](int v) { UpDown2Click(v); });
    connect(UpDown3, &QSpinBox::valueChanged, this, [this](int v) { UpDown3Click(v); });
    connect(MyGraph1, &TMyGraph::MousePressed, this,
            [this](Qt::MouseButton b, int x, int y) { MyGraph1MouseDown(b, x, y); });
    connect(MyGraph1, &TMyGraph::MouseMoved, this, [this](int x, int y) { MyGraph1MouseMove(x, y); });
    connect(MyGraph1, &TMyGraph::MouseReleased, this,
            [this](Qt::MouseButton b, int x, int y) { MyGraph1MouseUp(b, x, y); });

    const SessionSignals& notices = session.Signals;
    connect(&notices, &SessionSignals::activityChanged, this, [this] { SyncFromState(); });
    connect(&notices, &SessionSignals::spectrumChanged, this, [this] { SyncFromState(); });
    connect(&notices, &SessionSignals::formatApplied, this, [this] { FormatApplied(); });
    connect(&notices, &SessionSignals::recordChanged, this, [this] { RecordChanged(); });
    SyncFromState();
}

void TTWODPlot::SyncFromState() {
    const SessionState& s = session_.State;
    const SpectrumMap& map = s.Map;
    const MapFields& f = map.Fields;
    ShowNumber(Edit1, f.UpperFrequency);
    ShowNumber(Edit5, f.LowerFrequency);
    ShowNumber(Edit3, f.TimeSpan);
    ShowNumber(Edit8, f.ColourMax);
    SetValueQuietly(UpDown1, f.FrequencyGrid);
    SetValueQuietly(UpDown2, f.TimeGrid);
    SetValueQuietly(UpDown3, f.ColourGrid);
    {
        QSignalBlocker block(CBAuto);
        CBAuto->setChecked(f.Auto);
    }
    Label17->setText(QString::number(s.RunningSpectra.Count()));
    Label19->setText(QString::fromStdString(map.RowTotalText()));
    const bool active = s.RunningSpectra.Active();
    Button5->setEnabled(!active);
    Button6->setEnabled(active);
}

// ---- settings ----

void TTWODPlot::Button3Click() {
    SessionState& s = session_.State;
    const std::optional<MapFrame> frame = s.Map.Set(MapAxisFieldsOf(s.Spectrum.Format));
    if (!frame) return;  // a map is being drawn: the fields wait for the next Set or run
    DropCrossHair();
    DrawMapSet(*MyGraph1, MyGraph1->GraphCanvas(), *frame, s.Map.Bar());
    MyGraph1->update();
    if (s.Map.LimitsTakenByLastSet()) ShowLimitsTaken();
    SyncFromState();
}

void TTWODPlot::ShowLimitsTaken() {
    const SessionState& s = session_.State;
    const MapFields& f = s.Map.Fields;
    // As the format dialog writes them, when they hold the numbers taken.
    const SpectrumFormatFields& format = s.Spectrum.Format;
    SetTextQuietly(Edit1, FieldNumber(format.EdSXM) == f.UpperFrequency
                              ? format.EdSXM
                              : StrPrintf("%g", static_cast<double>(f.UpperFrequency)));
    SetTextQuietly(Edit5, FieldNumber(format.EdSX0) == f.LowerFrequency
                              ? format.EdSX0
                              : StrPrintf("%g", static_cast<double>(f.LowerFrequency)));
    SetValueQuietly(UpDown1, f.FrequencyGrid);
}

void TTWODPlot::Edit1Change(const std::string& text) {
    const std::optional<float> upper = FieldNumber(text);
    if (!upper) return;
    SpectrumMap& map = session_.State.Map;
    map.Fields.UpperFrequency = *upper;
    // Limits typed here hold: the next Set keeps them instead of taking the format dialog's.
    map.FirstSet = false;
    Button3Click();
}

void TTWODPlot::Edit5Change(const std::string& text) {
    const std::optional<float> lower = FieldNumber(text);
    if (!lower) return;
    SpectrumMap& map = session_.State.Map;
    map.Fields.LowerFrequency = *lower;
    map.FirstSet = false;
    Button3Click();
}

void TTWODPlot::Edit3Change(const std::string& text) {
    const std::optional<float> span = FieldNumber(text);
    // A time span is a length of time: 0 or less keeps the last one.
    if (!span || !(*span > 0.0f)) return;
    session_.State.Map.Fields.TimeSpan = *span;
    Button3Click();
}

void TTWODPlot::Edit8Change(const std::string& text) {
    if (const std::optional<float> maximum = FieldNumber(text))
        session_.State.Map.Fields.ColourMax = *maximum;
}

void TTWODPlot::CBAutoClick(bool on) {
    session_.State.Map.Fields.Auto = on;
}

void TTWODPlot::UpDown1Click(int position) {
    session_.State.Map.Fields.FrequencyGrid = position;
    Button3Click();
}

void TTWODPlot::UpDown2Click(int position) {
    session_.State.Map.Fields.TimeGrid = position;
    Button3Click();
}

void TTWODPlot::UpDown3Click(int position) {
    session_.State.Map.Fields.ColourGrid = position;
    Button3Click();
}

void TTWODPlot::FormatApplied() {
    // The format dialog's texts; they hold from the next Set or map.
    const SessionState& s = session_.State;
    const SpectrumFormatFields& format = s.Spectrum.Format;
    MapFields& f = session_.State.Map.Fields;
    if (const std::optional<float> lower = FieldNumber(format.EdSX0)) {
        f.LowerFrequency = *lower;
        SetTextQuietly(Edit5, format.EdSX0);
    }
    if (const std::optional<float> upper = FieldNumber(format.EdSXM)) {
        f.UpperFrequency = *upper;
        SetTextQuietly(Edit1, format.EdSXM);
    }
}

void TTWODPlot::RecordChanged() {
    SessionState& s = session_.State;
    const char* frequencyUnit = s.Record.FrequencyText();
    UpperUnitLabel->setText(QString::fromUtf8(frequencyUnit));
    LowerUnitLabel->setText(QString::fromUtf8(frequencyUnit));
    TimeUnitLabel->setText(QString::fromUtf8(s.Record.TimeText()));
    if (s.TwoDNeedsCompute) {
        // The map belongs to the record before: it goes, and the next Set or map takes the
        // frequency axis from the spectrum graph of the new one.
        s.TwoDNeedsCompute = false;
        s.Map.NewRecord();
        DropCrossHair();
        MyGraph1->TitleX = StrPrintf("Frequency f[%s]", frequencyUnit);
        MyGraph1->TitleY = "";
        MyGraph1->Clear(kWhite);
        MyGraph1->update();
        Label10->setText("(f, t)");
        Button2->setEnabled(false);
        Button4->setEnabled(false);
    }
    SyncFromState();
}

// ---- buttons ----

void TTWODPlot::Button5Click() {
    commands_.RunningRunClick();
    Button2->setEnabled(true);
    Button4->setEnabled(true);
}

void TTWODPlot::Button6Click() {
    commands_.RunningStopClick();
}

void TTWODPlot::Button7Click() {
    commands_.BtnZeroClick();
}

void TTWODPlot::Button2Click() {
    MyGraph1->Copy();
}

void TTWODPlot::Button4Click() {
    FileDialogRequest request;  // SaveDialog1
    request.Filter = kSaveFilter;
    request.FilterIndex = 1;
    request.DefaultExtension = "png";
    const FileDialogAnswer answer = session_.Prompt.SaveFile(request);
    if (!answer.Accepted || answer.Path.empty()) return;
    std::string path = answer.Path;
    if (ExtensionOf(path).empty()) path += ".png";
    if (QFileInfo::exists(QString::fromStdString(path))) {
        const std::string question =
            StrPrintf("%s already exists.\nDo you want to replace it?", FileNameOf(path).c_str());
        if (session_.Prompt.Message(question, "Save Picture", MessageIcon::Question, PromptButtons::YesNo) !=
            PromptAnswer::Yes)
            return;
    }
    const Outcome written = MyGraph1->Save_PNG(path);
    if (!written.Ok()) session_.Prompt.Show(*written.Error);
}

void TTWODPlot::Button1Click() {
    close();
}

// ---- the cross-hair ----

void TTWODPlot::MyGraph1MouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton) return;
    const SessionState& s = session_.State;
    const std::optional<std::string> text =
        crossHair_.Down(MyGraph1->GraphCanvas(), s.Map.Frame, s.Map.MapRunning, x, y,
                        s.Record.FrequencyText(), s.Record.TimeText());
    if (!text) return;
    Label10->setText(QString::fromStdString(*text));
    MyGraph1->update();
}

void TTWODPlot::MyGraph1MouseMove(int x, int y) {
    const SessionState& s = session_.State;
    const std::optional<std::string> text =
        crossHair_.Move(MyGraph1->GraphCanvas(), s.Map.Frame, s.Map.MapRunning, x, y,
                        s.Record.FrequencyText(), s.Record.TimeText());
    if (!text) return;
    Label10->setText(QString::fromStdString(*text));
    MyGraph1->update();
}

void TTWODPlot::MyGraph1MouseUp(Qt::MouseButton, int, int) {
    if (!crossHair_.Active()) return;
    crossHair_.Up(MyGraph1->GraphCanvas(), session_.State.Map.Frame);
    MyGraph1->setToolTip(QString());
    MyGraph1->update();
}

void TTWODPlot::DropCrossHair() {
    Canvas& canvas = MyGraph1->GraphCanvas();
    if (crossHair_.Active()) crossHair_.Up(canvas, session_.State.Map.Frame);
    crossHair_.Reset();
    canvas.SetXorMode(false);
    canvas.SetPenColor(kBlack);
}

// ---- the running spectrum's part ----

void TTWODPlot::PrepareMapRun() {
    DropCrossHair();
    Label20->setText(Edit3->text());
    SyncFromState();
}

void TTWODPlot::StartMap(const MapStartPlan& plan) {
    DropCrossHair();
    DrawMapStart(*MyGraph1, MyGraph1->GraphCanvas(), plan);
    MyGraph1->update();
    if (plan.ColourMaxText) SetTextQuietly(Edit8, *plan.ColourMaxText);
    if (plan.LimitsTaken) ShowLimitsTaken();
    UpperUnitLabel->setText(QString::fromStdString(plan.FrequencyUnit));
    LowerUnitLabel->setText(QString::fromStdString(plan.FrequencyUnit));
    TimeUnitLabel->setText(QString::fromStdString(plan.TimeUnit));
    MyGraph1->setToolTip(kCrossHairHint);
    Button2->setEnabled(true);
    Button4->setEnabled(true);
    SyncFromState();
    show();
}

void TTWODPlot::DrawMapRow(const MapRowPlan& row) {
    wavora::DrawMapRow(MyGraph1->GraphCanvas(), row);
    MyGraph1->update();
}

}  // namespace wavora
