#include "app/bandpass_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/filter.h"
#include "app/main_commands.h"
#include "app/session.h"
#include "record/number_text.h"

namespace wavora {

namespace {

void SetText(QLabel* l, const std::string& utf8) {
    l->setText(QString::fromStdString(utf8));
}

// A field shows the session's text; the cursor stays where it is while the text is the same.
void SetField(QLineEdit* e, const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    if (e->text() != text) e->setText(text);
}

// "%.2f%s" of a corner times `factor`; empty while the field holds no number.
std::string LimitText(const std::string& field, double factor, const char* unit) {
    const std::optional<double> v = StrictFloat(field);
    if (!v) return {};
    return StrPrintf("%.2f%s", static_cast<double>(static_cast<float>(*v)) * factor, unit);
}

}  // namespace

TBandPass::TBandPass(Session& session, MainCommands& commands, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), session_(session), commands_(commands) {
    setObjectName("TBandPass");
    setWindowTitle("Bandpass Filter");

    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        return l;
    };
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setToolTip(QString::fromUtf8("下限振動数（０Hzも可）設定"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName("Edit2");
    Edit2->setToolTip(QString::fromUtf8("上限振動数設定"));
    for (QLineEdit* e : {Edit1, Edit2}) e->setFixedWidth(80);
    Label3 = label("Label3", "Hz");
    Label4 = label("Label4", "Hz");
    Label12 = label("Label12", "");
    Label11 = label("Label11", "");
    for (QLabel* l : {Label12, Label11}) l->setMinimumWidth(90);
    Label8 = label("Label8", "");
    Label7 = label("Label7", "Filtering");
    QFont bold = Label7->font();
    bold.setBold(true);
    Label7->setFont(bold);
    Label6 = label("Label6", "0");
    Label6->setVisible(false);

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        return b;
    };
    Button1 = button("Button1", "Execute");
    Button3 = button("Button3", "Default");
    Button4 = button("Button4", "Unfiltered");
    Button2 = button("Button2", "Close");
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    // The typed corners are the session's; the limits follow them at the next Open or Execute.
    connect(Edit1, &QLineEdit::textEdited, this,
            [this](const QString& t) { session_.State.BandPass.LowerText = t.toStdString(); });
    connect(Edit2, &QLineEdit::textEdited, this,
            [this](const QString& t) { session_.State.BandPass.UpperText = t.toStdString(); });

    auto* corners = new QGridLayout;
    corners->setHorizontalSpacing(8);
    corners->addWidget(label("Label1", "Lower"), 0, 0);
    corners->addWidget(Edit1, 0, 1);
    corners->addWidget(Label3, 0, 2);
    corners->addWidget(label("Label9", "Limit"), 0, 3);
    corners->addWidget(Label12, 0, 4);
    corners->addWidget(label("Label2", "Upper"), 1, 0);
    corners->addWidget(Edit2, 1, 1);
    corners->addWidget(Label4, 1, 2);
    corners->addWidget(label("Label10", "Limit"), 1, 3);
    corners->addWidget(Label11, 1, 4);
    corners->setColumnStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Button1, Button3, Button4, Button2}) buttons->addWidget(b);

    auto* main = new QVBoxLayout(this);
    main->addLayout(corners);
    main->addWidget(Label8);
    main->addWidget(Label7);
    main->addWidget(Label6);
    main->addLayout(buttons);

    connect(&session.Signals, &SessionSignals::optionsChanged, this, [this] { SyncFromState(); });
    connect(&session.Signals, &SessionSignals::recordChanged, this, [this] { SyncFromState(); });
    SyncFromState();
}

void TBandPass::SyncFromState() {
    const SessionState& s = session_.State;
    const BandPassFields& f = s.BandPass;
    SetField(Edit1, f.LowerText);
    SetField(Edit2, f.UpperText);
    const QString unit = QString::fromUtf8(s.Record.FrequencyText());
    Label3->setText(unit);
    Label4->setText(unit);
    SetText(Label12, f.LowerLimit);
    SetText(Label11, f.UpperLimit);
    SetText(Label8, f.DefaultBand);
    SetText(Label7, f.Status);
    Label6->setText(QString::number(f.RunCount));
}

void TBandPass::FillLabels() {
    SessionState& s = session_.State;
    BandPassFields& f = s.BandPass;
    const char* unit = s.Record.FrequencyText();
    f.LowerLimit = LimitText(f.LowerText, 0.5, unit);
    f.UpperLimit = LimitText(f.UpperText, 1.5, unit);
    f.DefaultBand =
        StrPrintf("Default Band %.2f%s-%.2f%s", 1.0, unit, s.Record.SamplingRate * 0.5 * 0.75, unit);
}

void TBandPass::Open() {
    FillLabels();
    SyncFromState();
    show();
    raise();
}

void TBandPass::ShowStatusNow() {
    SyncFromState();
    Label7->repaint();
}

void TBandPass::Button1Click() {
    SessionState& s = session_.State;
    float lower = 0.0f, upper = 0.0f;
    const Outcome band = ParseBand(s.BandPass.LowerText, s.BandPass.UpperText, lower, upper);
    if (!band.Ok()) {
        session_.Prompt.Show(*band.Error);
        return;
    }
    const FilterState filterBefore = s.Filter;
    const bool indicatorBefore = s.FilterIndicator;
    const BandPassFields fieldsBefore = s.BandPass;

    // As Filter ▸ Arbitrary, with the new corners.
    s.Filter.Mode = FilterMode::Arbitrary;
    s.Filter.Active = true;
    s.FilterIndicator = true;
    s.Filter.ArbitraryLower = lower;
    s.Filter.ArbitraryUpper = upper;
    FillLabels();
    const char* unit = s.Record.FrequencyText();
    s.BandPass.LowerLimit = StrPrintf("%.2f%s", static_cast<double>(lower) * 0.5, unit);
    s.BandPass.UpperLimit = StrPrintf("%.2f%s", static_cast<double>(upper) * 1.5, unit);
    s.BandPass.RunCount = 0;
    s.BandPass.Status = "Bandpass filtering now....";
    emit session_.Signals.optionsChanged();
    ShowStatusNow();
    if (!s.DataLoaded) return;
    if (!commands_.ReprocessRecord()) {
        // The record was not read again: the filter is the one its samples were made with.
        s.Filter = filterBefore;
        s.FilterIndicator = indicatorBefore;
        s.BandPass = fieldsBefore;
        emit session_.Signals.optionsChanged();
    }
}

void TBandPass::RunWithStatus(const char* status, bool (MainCommands::*command)()) {
    SessionState& s = session_.State;
    const BandPassFields before = s.BandPass;
    s.BandPass.RunCount = 0;
    s.BandPass.Status = status;
    ShowStatusNow();
    if (!(commands_.*command)()) {
        s.BandPass = before;
        SyncFromState();
    }
}

void TBandPass::Button3Click() {
    RunWithStatus("Default filtering now....", &MainCommands::Default1Click);
}

void TBandPass::Button4Click() {
    // Refused while integration is on.
    RunWithStatus("Unfiltered", &MainCommands::None2Click);
}

void TBandPass::Button2Click() {
    session_.State.FilterIndicator = false;
    emit session_.Signals.optionsChanged();
    close();
}

}  // namespace wavora
