#include "display/amp_scale_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/main_commands.h"
#include "app/session.h"
#include "display/radio_group.h"
#include "record/number_text.h"

namespace wavora {

namespace {

struct Magnification {
    const char* Text;
    float Factor;
};
constexpr Magnification kMagnifications[] = {{"1", 1.0f},   {"2", 2.0f},     {"4", 4.0f},    {"8", 8.0f},
                                             {"0.2", 0.2f}, {"0.05", 0.05f}, {"0.01", 0.01f}};

}  // namespace

TAmpScale::TAmpScale(Session& session, MainCommands& commands, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), session_(session), commands_(commands) {
    setObjectName("TAmpScale");
    setWindowTitle("Wave Format / Magnification");

    auto* channelsBox = new QGroupBox(this);
    auto* grid = new QGridLayout(channelsBox);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel("Magnification", channelsBox), 0, 1);
    grid->addWidget(new QLabel("Display", channelsBox), 0, 2);
    for (int k = 0; k < kMaxChannels; ++k) {
        auto* label = new QLabel(QString("CH %1").arg(k + 1), channelsBox);
        const Color rgb = DefaultChannelColors()[k];
        QColor c(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
        label->setStyleSheet(QString("color: %1; font-weight: bold;").arg(c.name()));
        Edits[k] = new QLineEdit("1", channelsBox);
        Edits[k]->setObjectName(QString("Edit%1").arg(k + 1));
        Edits[k]->setFixedWidth(70);
        DisplayBoxes[k] = new QCheckBox(channelsBox);
        DisplayBoxes[k]->setObjectName(QString("CheckBox%1").arg(k + 5));
        DisplayBoxes[k]->setChecked(true);
        DisplayBoxes[k]->setToolTip(QString("CH %1").arg(k + 1));
        grid->addWidget(label, k + 1, 0);
        grid->addWidget(Edits[k], k + 1, 1);
        grid->addWidget(DisplayBoxes[k], k + 1, 2, Qt::AlignHCenter);
        connect(DisplayBoxes[k], &QCheckBox::toggled, this, [this] { Button3Click(); });
    }
    grid->setRowStretch(kMaxChannels + 1, 1);

    RadioGroup1 = new RadioGroup("Magnification",
                                 {"×１", "×２", "×４", "×８", "×１/５", "×１/２０", "×１/１００"}, 1, this);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioGroup1->SetItemIndex(0);
    RadioGroup2 = new RadioGroup("Time Scale", {"×１", "×２", "×４", "×８"}, 2, this);
    RadioGroup2->setObjectName("RadioGroup2");
    RadioGroup2->SetItemIndex(0);
    connect(RadioGroup1, &RadioGroup::Clicked, this, [this](int item) { RadioGroup1Click(item); });
    connect(RadioGroup2, &RadioGroup::Clicked, this, [this](int item) { RadioGroup2Click(item); });

    auto makeBox = [this](const char* name, const char* caption) {
        auto* b = new QCheckBox(caption, this);
        b->setObjectName(name);
        b->setChecked(true);
        return b;
    };
    CheckBox1 = makeBox("CheckBox1", "Title");
    CheckBox2 = makeBox("CheckBox2", "Channel Comment");
    CheckBox3 = makeBox("CheckBox3", "Color Lines");
    CheckBox4 = makeBox("CheckBox4", "Scaling Factor");
    CheckBox13 = makeBox("CheckBox13", "Filename");
    // The option boxes run the "Wave" menu commands; the menu and these boxes both show the
    // session's options.
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { commands_.Title1Click(on); });
    connect(CheckBox2, &QCheckBox::toggled, this, [this](bool on) { commands_.ChannelComment1Click(on); });
    connect(CheckBox3, &QCheckBox::toggled, this, [this](bool on) { commands_.Color1Click(on); });
    connect(CheckBox4, &QCheckBox::toggled, this, [this](bool on) { commands_.Scaling1Click(on); });
    connect(CheckBox13, &QCheckBox::toggled, this, [this](bool on) { commands_.Filename1Click(on); });

    Button1 = new QPushButton("All(&A)", this);
    Button1->setObjectName("Button1");
    Button3 = new QPushButton("OK(&O)", this);
    Button3->setObjectName("Button3");
    Button2 = new QPushButton("Close(&C)", this);
    Button2->setObjectName("Button2");
    Button3->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });

    auto* options = new QGroupBox("Display", this);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->setSpacing(2);
    for (QCheckBox* b : {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox13}) optionsLayout->addWidget(b);

    auto* right = new QVBoxLayout;
    right->addWidget(RadioGroup1);
    right->addWidget(RadioGroup2);
    right->addWidget(options);
    right->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addStretch(1);
    buttons->addWidget(Button3);
    buttons->addWidget(Button2);

    auto* top = new QHBoxLayout;
    top->addWidget(channelsBox);
    top->addLayout(right);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(buttons);

    connect(&session.Signals, &SessionSignals::optionsChanged, this, [this] { SyncFromState(); });
    connect(&session.Signals, &SessionSignals::recordChanged, this, [this] { RecordChanged(); });
    SyncFromState();
}

namespace {
void SetCheckQuietly(QCheckBox* box, bool on) {
    QSignalBlocker block(box);
    box->setChecked(on);
}
}  // namespace

void TAmpScale::SyncFromState() {
    const SessionState& s = session_.State;
    const WaveView& v = s.Wave;
    SetCheckQuietly(CheckBox1, v.ShowTitle);
    SetCheckQuietly(CheckBox2, v.ShowChannelComment);
    SetCheckQuietly(CheckBox3, s.ColorLines);
    SetCheckQuietly(CheckBox4, v.ShowScaling);
    SetCheckQuietly(CheckBox13, v.ShowFileName);
    for (int k = 0; k < kMaxChannels; ++k) SetCheckQuietly(DisplayBoxes[k], v.DisplayChannels[k]);
    static constexpr int kTimeScales[] = {1, 2, 4, 8};
    for (int i = 0; i < 4; ++i)
        if (kTimeScales[i] == v.TimeScale) RadioGroup2->SetItemIndex(i);
    for (int i = 0; i < static_cast<int>(std::size(kMagnifications)); ++i)
        if (kMagnifications[i].Factor == v.WaveMagnification) RadioGroup1->SetItemIndex(i);
}

void TAmpScale::RecordChanged() {
    const int channels = session_.State.Record.ChannelCount;
    for (int k = 0; k < kMaxChannels; ++k) {
        Edits[k]->setText("1");
        Edits[k]->setEnabled(k < channels);
        DisplayBoxes[k]->setEnabled(k < channels);
    }
    SyncFromState();
}

void TAmpScale::Button3Click() {
    SessionState& s = session_.State;
    WaveView& view = s.Wave;
    for (int i = 0; i < kMaxChannels; ++i) {
        std::string text = Edits[i]->text().toStdString();
        std::optional<double> v = StrictFloat(text);
        if (!v) {
            // The remaining fields are not read.
            session_.Prompt.Message(NotFloatText(text), kApplicationTitle, MessageIcon::Warning,
                                    PromptButtons::Ok);
            return;
        }
        view.ChannelMagnification[i] = static_cast<float>(*v);
    }
    WaveView chosen = view;
    for (int i = 0; i < kMaxChannels; ++i) chosen.DisplayChannels[i] = DisplayBoxes[i]->isChecked();
    const int count = CountDisplayedChannels(s.Record, chosen);
    if (count == 0) {
        session_.Prompt.Message("No Display Channel !! ", "Display Channnel", MessageIcon::Warning,
                                PromptButtons::Ok);
        // The refused choice is undone: the boxes show the channels still drawn, and a later
        // redraw (a scroll, an option) does not empty the picture.
        for (int i = 0; i < kMaxChannels; ++i) SetCheckQuietly(DisplayBoxes[i], view.DisplayChannels[i]);
        return;
    }
    view.DisplayChannels = chosen.DisplayChannels;
    view.DisplayedCount = count;
    commands_.DrawWave();
}

void TAmpScale::Button1Click() {
    // Each box that changes applies the dialog through its own handler.
    for (QCheckBox* b : DisplayBoxes) b->setChecked(true);
}

void TAmpScale::Button2Click() {
    close();
}

void TAmpScale::RadioGroup1Click(int item) {
    if (item < 0 || item >= static_cast<int>(std::size(kMagnifications))) return;
    RadioGroup1->SetItemIndex(item);
    session_.State.Wave.WaveMagnification = kMagnifications[item].Factor;
    for (QLineEdit* e : Edits) e->setText("1");
    for (int k = 0; k < session_.State.Record.ChannelCount && k < kMaxChannels; ++k)
        Edits[k]->setText(kMagnifications[item].Text);
    Button3Click();
}

void TAmpScale::RadioGroup2Click(int item) {
    // The menu command of the item; the menu and this group both show the time scale.
    if (item >= 0) commands_.TimeScaleClick(item);
}

}  // namespace wavora
