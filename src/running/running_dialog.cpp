#include "running/running_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "analysis/running_spectrum.h"
#include "app/main_commands.h"
#include "app/session.h"
#include "display/radio_group.h"
#include "running/running_activity.h"

namespace wavora {

namespace {

void SetCheckQuietly(QCheckBox* b, bool on) {
    QSignalBlocker block(b);
    b->setChecked(on);
}

void SetTextQuietly(QLineEdit* e, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (e->text() == t) return;  // keeps the cursor where the user left it
    QSignalBlocker block(e);
    e->setText(t);
}

// A field that shows a number: rewritten only when it does not hold that number already, so that
// what the user is typing stays as typed.
void ShowNumber(QLineEdit* e, int value) {
    if (WholeNumber(e->text().toStdString()) == value) return;
    SetTextQuietly(e, std::to_string(value));
}

QLineEdit* MakeEdit(const char* name, const char* text, QWidget* parent) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setFixedWidth(70);
    return e;
}

QPushButton* MakeButton(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TRunning::TRunning(Session& session, MainCommands& commands, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      session_(session),
      commands_(commands),
      activity_(std::make_unique<RunningActivity>(session, commands, this)) {
    setObjectName("TRunning");
    setWindowTitle("Running Spectrum");

    Edit1 = MakeEdit("Edit1", "0", this);
    Label5 = new QLabel("max", this);
    Label5->setObjectName("Label5");
    EdMax = MakeEdit("EdMax", "100", this);
    EdMax->setEnabled(false);  // "Multi Plot" is on
    CBMulti = new QCheckBox("Multi Plot", this);
    CBMulti->setObjectName("CBMulti");
    CBMulti->setChecked(true);
    CBHidden = new QCheckBox("Hidden Line", this);
    CBHidden->setObjectName("CBHidden");
    CBHidden->setChecked(true);

    QStringList skips;
    for (int skip : kRunningSkipChoices) skips << QString::number(skip);
    RGSkip = new RadioGroup("Skip ", skips, 3, this);
    RGSkip->setObjectName("RGSkip");
    RGSkip->SetItemIndex(kRunningDefaultSkipItem);
    RGSkipType = new RadioGroup("SkipType", {"Radio Btn", "Edit Box"}, 1, this);
    RGSkipType->setObjectName("RGSkipType");
    RGSkipType->SetItemIndex(0);
    Edit2 = MakeEdit("Edit2", "250", this);
    Edit2->setEnabled(false);
    Label4 = new QLabel("Skip Time", this);
    Label4->setObjectName("Label4");
    Label3 = new QLabel("Count  0", this);
    Label3->setObjectName("Label3");

    BtnRunRun = MakeButton("BtnRunRun", "Run", this);
    BtnRunStop = MakeButton("BtnRunStop", "Stop (&S)", this);
    BtnRunStop->setEnabled(false);
    BtnRunClose = MakeButton("BtnRunClose", "Close (&C)", this);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("Init", this), 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label5, 0, 2);
    fields->addWidget(EdMax, 0, 3);
    fields->addWidget(CBMulti, 1, 0, 1, 2);
    fields->addWidget(CBHidden, 1, 2, 1, 2);
    fields->setColumnStretch(4, 1);

    auto* skipType = new QHBoxLayout;
    skipType->addWidget(RGSkipType);
    skipType->addWidget(Edit2, 0, Qt::AlignBottom);
    skipType->addStretch(1);

    auto* readouts = new QHBoxLayout;
    readouts->addWidget(Label4);
    readouts->addStretch(1);
    readouts->addWidget(Label3);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnRunRun);
    buttons->addWidget(BtnRunStop);
    buttons->addWidget(BtnRunClose);

    auto* main = new QVBoxLayout(this);
    main->addLayout(fields);
    main->addWidget(RGSkip);
    main->addLayout(skipType);
    main->addLayout(readouts);
    main->addLayout(buttons);

    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& t) { Edit1Change(t.toStdString()); });
    connect(EdMax, &QLineEdit::textEdited, this, [this](const QString& t) { EdMaxChange(t.toStdString()); });
    connect(Edit2, &QLineEdit::textEdited, this, [this](const QString& t) { Edit2Change(t.toStdString()); });
    connect(CBMulti, &QCheckBox::clicked, this, [this](bool on) { CBMultiClick(on); });
    connect(CBHidden, &QCheckBox::clicked, this, [this](bool on) { CBHiddenClick(on); });
    connect(RGSkip, &RadioGroup::Clicked, this, [this](int item) { RGSkipClick(item); });
    connect(RGSkipType, &RadioGroup::Clicked, this, [this](int item) { RGSkipTypeClick(item); });
    connect(BtnRunRun, &QPushButton::clicked, this, [this] { BtnRunRunClick(); });
    connect(BtnRunStop, &QPushButton::clicked, this, [this] { BtnRunStopClick(); });
    connect(BtnRunClose, &QPushButton::clicked, this, [this] { BtnRunCloseClick(); });
    connect(activity_->Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    const SessionSignals& notices = session.Signals;
    connect(&notices, &SessionSignals::optionsChanged, this, [this] { SyncFromState(); });
    connect(&notices, &SessionSignals::activityChanged, this, [this] { SyncFromState(); });
    connect(&notices, &SessionSignals::spectrumChanged, this, [this] { SyncFromState(); });
    connect(&notices, &SessionSignals::positionChanged, this, [this] { ShowPosition(); });
    // A new record has its own interval and units.
    connect(&notices, &SessionSignals::recordChanged, this, [this] {
        if (session_.State.RunningDialog.SkipTimeText != "Skip Time") ShowSkipTime();
        SyncFromState();
    });
    SyncFromState();
}

TRunning::~TRunning() = default;

void TRunning::SyncFromState() {
    const RunningDialogFields& d = session_.State.RunningDialog;
    SetCheckQuietly(CBMulti, d.Multi);
    SetCheckQuietly(CBHidden, d.Hidden);
    EdMax->setEnabled(!d.Multi);
    ShowNumber(EdMax, d.Max);
    RGSkip->SetItemIndex(d.SkipItem);
    RGSkipType->SetItemIndex(d.EditBoxSkip ? 1 : 0);
    RGSkip->setEnabled(!d.EditBoxSkip);
    Edit2->setEnabled(d.EditBoxSkip);
    SetTextQuietly(Edit2, d.SkipText);
    Label4->setText(QString::fromStdString(d.SkipTimeText));
    Label3->setText(QString::fromStdString(d.CountText));
    const bool active = activity_->Active();
    BtnRunRun->setEnabled(!active);
    BtnRunStop->setEnabled(active);
    BtnRunClose->setEnabled(!active);
}

void TRunning::ShowPosition() {
    const int position = session_.State.Position;
    session_.State.RunningDialog.Init = position;
    ShowNumber(Edit1, position);
}

void TRunning::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowPosition();
    SyncFromState();
}

void TRunning::ShowSkipTime() {
    SessionState& s = session_.State;
    RunningDialogFields& d = s.RunningDialog;
    std::optional<int> skip;
    if (d.EditBoxSkip)
        skip = WholeNumber(d.SkipText);
    else
        skip = kRunningSkipChoices[static_cast<size_t>(
            std::clamp(d.SkipItem, 0, static_cast<int>(kRunningSkipChoices.size()) - 1))];
    // A text that is no number leaves the last Skip Time shown.
    if (!skip) return;
    const float interval = static_cast<float>(s.Step()) * s.Record.SamplingInterval;
    d.SkipTimeText = SkipTimeText(*skip, interval, s.Record.TimeText());
}

// ---- the controls ----

void TRunning::Edit1Change(const std::string& text) {
    const std::optional<int> init = WholeNumber(text);
    // An empty field, or one that holds no whole number, keeps the last "Init".
    if (!init) return;
    SessionState& s = session_.State;
    s.RunningDialog.Init = *init;
    if (s.DataLoaded) commands_.MovePosition(std::clamp(*init, 0, std::max(s.Record.SampleCount, 0)));
}

void TRunning::EdMaxChange(const std::string& text) {
    if (const std::optional<int> max = WholeNumber(text)) session_.State.RunningDialog.Max = *max;
}

void TRunning::CBMultiClick(bool on) {
    session_.State.RunningDialog.Multi = on;
    emit session_.Signals.optionsChanged();
}

void TRunning::CBHiddenClick(bool on) {
    session_.State.RunningDialog.Hidden = on;
    emit session_.Signals.optionsChanged();
}

void TRunning::RGSkipClick(int item) {
    if (item < 0 || item >= static_cast<int>(kRunningSkipChoices.size())) return;
    session_.State.RunningDialog.SkipItem = item;
    ShowSkipTime();
    emit session_.Signals.optionsChanged();
}

void TRunning::RGSkipTypeClick(int item) {
    session_.State.RunningDialog.EditBoxSkip = item == 1;
    ShowSkipTime();
    emit session_.Signals.optionsChanged();
}

void TRunning::Edit2Change(const std::string& text) {
    SessionState& s = session_.State;
    s.RunningDialog.SkipText = text;
    // The Skip Time of the typed value, whichever Skip the next run takes.
    if (const std::optional<int> skip = WholeNumber(text)) {
        const float interval = static_cast<float>(s.Step()) * s.Record.SamplingInterval;
        s.RunningDialog.SkipTimeText = SkipTimeText(*skip, interval, s.Record.TimeText());
    }
    emit session_.Signals.optionsChanged();
}

// ---- Run, the steps, Stop and Close ----

void TRunning::BtnRunRunClick() {
    SessionState& s = session_.State;
    RunningDialogFields& d = s.RunningDialog;
    const RunningStart start = activity_->Start();
    if (start.Proposal) {
        // The 2-D map's Skip: from the list it holds for this run already; typed, from the next.
        if (start.Proposal->EditBox) {
            d.EditBoxSkip = true;
            d.SkipText = std::to_string(start.Proposal->Skip);
        } else {
            d.EditBoxSkip = false;
            d.SkipItem = start.Proposal->Item;
        }
        ShowSkipTime();
    }
    switch (start.Status) {
        case RunningStartStatus::Refused:
            SyncFromState();
            if (start.Error) session_.Prompt.Show(*start.Error);
            if (start.DisableStartControls) commands_.RunningRefused(true);
            return;
        case RunningStartStatus::BeyondData:
            // Nothing to analyse from "Init" on: back to the start, without a word.
            if (std::optional<Failure> drawn = StopRun()) session_.Prompt.Show(*drawn);
            commands_.MovePosition(0);
            return;
        case RunningStartStatus::Started:
            break;
    }
    d.SkipTimeText = start.SkipTimeText;
    d.CountText = start.CountText;
    commands_.MovePosition(start.Position);
    commands_.RunningStarted();
    SyncFromState();
}

void TRunning::Timer1Timer() {
    RunningTickEvent event;
    try {
        event = activity_->Tick();
    } catch (const std::exception& e) {
        activity_->Halt();
        event.Error = Failure::Notice(e.what());
    }
    if (event.Error) {
        // The timer has stopped: the run ends, then the message.
        const std::optional<Failure> drawn = StopRun();
        session_.Prompt.Show(*event.Error);
        if (drawn && drawn->Text != event.Error->Text) session_.Prompt.Show(*drawn);
        return;
    }
    if (event.Tick == RunningTick::Finished) {
        const std::optional<Failure> drawn = StopRun();
        commands_.MovePosition(0);
        if (drawn) session_.Prompt.Show(*drawn);
    }
}

std::optional<Failure> TRunning::StopRun() {
    const RunningStop stop = activity_->Stop();
    RunningDialogFields& d = session_.State.RunningDialog;
    d.Init = stop.InitPosition;
    SetTextQuietly(Edit1, std::to_string(stop.InitPosition));
    std::optional<Failure> drawn = commands_.RunningStopped(stop);
    SyncFromState();
    return drawn;
}

void TRunning::BtnRunStopClick() {
    if (std::optional<Failure> drawn = StopRun()) session_.Prompt.Show(*drawn);
}

void TRunning::BtnRunCloseClick() {
    activity_->Close();
    commands_.RunningClosed();
    SyncFromState();
    close();
}

void TRunning::EndRun() {
    if (!activity_->Active()) return;
    activity_->Stop();
    SyncFromState();
}

}  // namespace wavora
