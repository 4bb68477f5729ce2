#include "display/param1_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/main_commands.h"
#include "app/session.h"
#include "display/radio_group.h"
#include "draw/spectrum_format.h"

namespace wavora {

namespace {

QLineEdit* MakeEdit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFixedWidth(90);
    return e;
}

// A grid count: the field with its up-down, which keeps it within 1–10.
QSpinBox* MakeGridCount(const char* name, QWidget* parent) {
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(1, 10);
    s->setValue(2);
    s->setFixedWidth(55);
    return s;
}

QCheckBox* MakeBox(const char* name, const char* caption, bool checked, QWidget* parent) {
    auto* b = new QCheckBox(caption, parent);
    b->setObjectName(name);
    b->setChecked(checked);
    return b;
}

void SetTextQuietly(QLineEdit* e, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (e->text() == t) return;  // keeps the cursor where the user left it
    QSignalBlocker block(e);
    e->setText(t);
}

void SetCheckQuietly(QCheckBox* b, bool on) {
    QSignalBlocker block(b);
    b->setChecked(on);
}

void SetValueQuietly(QSpinBox* s, int value) {
    QSignalBlocker block(s);
    s->setValue(value);
}

std::string TextOf(const QLineEdit* e) {
    return e->text().toStdString();
}

// The position of an up-down, with what is typed in its field taken first.
int Position(QSpinBox* s) {
    QSignalBlocker block(s);
    s->interpretText();
    return s->value();
}

}  // namespace

TParam1::TParam1(Session& session, MainCommands& commands, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), session_(session), commands_(commands) {
    setObjectName("TParam1");
    setWindowTitle("Spectrum Format Parameters");

    EdSX0 = MakeEdit("EdSX0", this);
    EdSXM = MakeEdit("EdSXM", this);
    UpDown2 = MakeGridCount("UpDown2", this);
    EdSY0 = MakeEdit("EdSY0", this);
    EdSYM = MakeEdit("EdSYM", this);
    UpDown1 = MakeGridCount("UpDown1", this);
    Edlx = MakeEdit("Edlx", this);
    Edlx->setText("320");
    Edly = MakeEdit("Edly", this);
    Edly->setText("320");

    auto* axes = new QGridLayout;
    axes->setHorizontalSpacing(6);
    auto label = [this](const char* caption) { return new QLabel(caption, this); };
    axes->addWidget(label("X min"), 0, 0);
    axes->addWidget(EdSX0, 0, 1);
    axes->addWidget(label("X max"), 0, 2);
    axes->addWidget(EdSXM, 0, 3);
    axes->addWidget(label("Grid"), 0, 4);
    axes->addWidget(UpDown2, 0, 5);
    axes->addWidget(label("Y min"), 1, 0);
    axes->addWidget(EdSY0, 1, 1);
    axes->addWidget(label("Y max"), 1, 2);
    axes->addWidget(EdSYM, 1, 3);
    axes->addWidget(label("Grid"), 1, 4);
    axes->addWidget(UpDown1, 1, 5);
    axes->addWidget(label("Width"), 2, 0);
    axes->addWidget(Edlx, 2, 1);
    axes->addWidget(label("Height"), 2, 2);
    axes->addWidget(Edly, 2, 3);
    axes->setColumnStretch(6, 1);

    RadioGroup2 = new RadioGroup("X Scale", {"linear", "logarithm"}, 1, this);
    RadioGroup2->setObjectName("RadioGroup2");
    RadioGroup1 = new RadioGroup("Y Scale", {"linear", "logarithm"}, 1, this);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioGroup3 = new RadioGroup("X Value", {"Frequency", "Period"}, 1, this);
    RadioGroup3->setObjectName("RadioGroup3");
    for (RadioGroup* g : {RadioGroup2, RadioGroup1, RadioGroup3}) g->SetItemIndex(0);
    auto* scales = new QHBoxLayout;
    scales->addWidget(RadioGroup2);
    scales->addWidget(RadioGroup1);
    scales->addWidget(RadioGroup3);

    CBSubAxis = MakeBox("CBSubAxis", "Sub Axis", true, this);
    CBBroad = MakeBox("CBBroad", "Broad Line", false, this);
    CBRight = MakeBox("CBRight", "Right Side", true, this);
    CBZero = MakeBox("CBZero", "Zero Average", true, this);
    CBSolid = MakeBox("CBSolid", "CBSolid", true, this);
    CBSolid->setToolTip("Checked: every curve solid. Unchecked: solid, dotted, dash-dot, dashed in turn.");
    auto* boxes = new QGridLayout;
    boxes->setVerticalSpacing(2);
    boxes->addWidget(CBSubAxis, 0, 0);
    boxes->addWidget(CBBroad, 1, 0);
    boxes->addWidget(CBSolid, 2, 0);
    boxes->addWidget(CBRight, 0, 1);
    boxes->addWidget(CBZero, 1, 1);

    RGMaxFreq = new RadioGroup("Max Freq to Nyquist", {"×1", "×1/2", "×1/4", "×1/5", "×10"}, 2, this);
    RGMaxFreq->setObjectName("RGMaxFreq");
    RGMaxFreq->SetItemIndex(0);
    auto* options = new QHBoxLayout;
    options->addLayout(boxes);
    options->addStretch(1);
    options->addWidget(RGMaxFreq);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    Button1 = new QPushButton("Default", this);
    Button1->setObjectName("Button1");
    Button1->setAutoDefault(false);
    CancelBtn = new QPushButton("Close", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* main = new QVBoxLayout(this);
    main->addLayout(axes);
    main->addLayout(scales);
    main->addLayout(options);
    main->addLayout(buttons);

    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
    connect(RGMaxFreq, &RadioGroup::Clicked, this, [this](int item) { RGMaxFreqClick(item); });

    // Whatever the user changes goes into the fields at once (nothing is applied before OK).
    for (QLineEdit* e : {EdSX0, EdSXM, EdSY0, EdSYM, Edlx, Edly})
        connect(e, &QLineEdit::textChanged, this, [this] { FieldsFromControls(); });
    for (QSpinBox* s : {UpDown2, UpDown1})
        connect(s, &QSpinBox::valueChanged, this, [this] { FieldsFromControls(); });
    for (QCheckBox* b : {CBSubAxis, CBBroad, CBRight, CBZero, CBSolid})
        connect(b, &QCheckBox::toggled, this, [this] { FieldsFromControls(); });
    for (RadioGroup* g : {RadioGroup2, RadioGroup1, RadioGroup3})
        connect(g, &RadioGroup::Clicked, this, [this] { FieldsFromControls(); });

    // Every drawing writes the axes back, and the menu options change the boxes.
    connect(&session.Signals, &SessionSignals::optionsChanged, this, [this] { SyncFromState(); });
    connect(&session.Signals, &SessionSignals::spectrumChanged, this, [this] { SyncFromState(); });
    SyncFromState();
}

void TParam1::SyncFromState() {
    const SpectrumFormatFields& f = session_.State.Spectrum.Format;
    SetTextQuietly(EdSX0, f.EdSX0);
    SetTextQuietly(EdSXM, f.EdSXM);
    SetValueQuietly(UpDown2, f.UpDown2);
    SetTextQuietly(EdSY0, f.EdSY0);
    SetTextQuietly(EdSYM, f.EdSYM);
    SetValueQuietly(UpDown1, f.UpDown1);
    SetTextQuietly(Edlx, f.Edlx);
    SetTextQuietly(Edly, f.Edly);
    RadioGroup2->SetItemIndex(f.RadioGroup2);
    RadioGroup1->SetItemIndex(f.RadioGroup1);
    RadioGroup3->SetItemIndex(f.RadioGroup3);
    SetCheckQuietly(CBSubAxis, f.CBSubAxis);
    SetCheckQuietly(CBBroad, f.CBBroad);
    SetCheckQuietly(CBRight, f.CBRight);
    SetCheckQuietly(CBZero, f.CBZero);
    SetCheckQuietly(CBSolid, f.CBSolid);
    RGMaxFreq->SetItemIndex(f.RGMaxFreq);
}

void TParam1::FieldsFromControls() {
    SpectrumFormatFields& f = session_.State.Spectrum.Format;
    f.EdSX0 = TextOf(EdSX0);
    f.EdSXM = TextOf(EdSXM);
    f.UpDown2 = Position(UpDown2);
    f.EdSY0 = TextOf(EdSY0);
    f.EdSYM = TextOf(EdSYM);
    f.UpDown1 = Position(UpDown1);
    f.Edlx = TextOf(Edlx);
    f.Edly = TextOf(Edly);
    f.RadioGroup2 = RadioGroup2->ItemIndex() == 1 ? 1 : 0;
    f.RadioGroup1 = RadioGroup1->ItemIndex() == 1 ? 1 : 0;
    f.RadioGroup3 = RadioGroup3->ItemIndex() == 1 ? 1 : 0;
    f.CBSubAxis = CBSubAxis->isChecked();
    f.CBBroad = CBBroad->isChecked();
    f.CBRight = CBRight->isChecked();
    f.CBZero = CBZero->isChecked();
    f.CBSolid = CBSolid->isChecked();
    f.RGMaxFreq = std::max(RGMaxFreq->ItemIndex(), 0);
}

void TParam1::OKBtnClick() {
    FieldsFromControls();
    SpectrumDisplay& d = session_.State.Spectrum;
    // Applied to copies: a refusal leaves the graph's axes as the picture on screen was drawn
    // with, so the mouse read-out stays true to it.
    SpectrumAxes axes = d.Axes;
    SpectrumDisplayOptions options = d.Options;
    const SpectrumFormatApplied out = ApplySpectrumFormat(d.Format, axes, options);
    if (!out.Applied) {
        if (out.Error) session_.Prompt.Show(*out.Error);
        return;
    }
    d.Axes = axes;
    d.Options = options;
    emit session_.Signals.optionsChanged();
    emit session_.Signals.formatApplied();
    commands_.PeriodAxisChanged();
    commands_.BtnRunClick();
}

void TParam1::Button1Click() {
    RestoreAutomaticAxes(session_.State.Spectrum.Axes);
    emit session_.Signals.optionsChanged();
    commands_.BtnRunClick();
}

void TParam1::RGMaxFreqClick(int item) {
    if (item < 0 || item > 4) return;
    FieldsFromControls();
    const SessionState& s = session_.State;
    const float interval = s.Record.SamplingInterval;
    // No record, no Nyquist frequency: the choice is only remembered.
    if (!s.DataLoaded || !(interval > 0.0f)) return;
    SetMaxFreqToNyquist(session_.State.Spectrum.Format, item, s.Step(), interval);
    SyncFromState();
    OKBtnClick();
}

void TParam1::CancelBtnClick() {
    close();
}

}  // namespace wavora
