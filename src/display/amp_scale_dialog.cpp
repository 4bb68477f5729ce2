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

#include "record/number_text.h"
#include "display/radio_group.h"
#include "app/prompts.h"

namespace wavora {

namespace {

struct Magnification {
    const char* Text;
    float Factor;
};
constexpr Magnification kMagnifications[] = {{"1", 1.0f},   {"2", 2.0f},     {"4", 4.0f},    {"8", 8.0f},
                                             {"0.2", 0.2f}, {"0.05", 0.05f}, {"0.01", 0.01f}};

}  // namespace

TAmpScale::TAmpScale(AmpScaleHost& host, const WaveRecord& record, WaveView& view, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), host_(host), record_(record), view_(view) {
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
    connect(RadioGroup1, &RadioGroup::Clicked, this, [this] { RadioGroup1Click(); });
    connect(RadioGroup2, &RadioGroup::Clicked, this, [this] { RadioGroup2Click(); });

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
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) {
        host_.SetTitleOption(on);
        Button3Click();
    });
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { host_.ToggleChannelComment(); });
    connect(CheckBox3, &QCheckBox::toggled, this, [this] { host_.ToggleColor(); });
    connect(CheckBox4, &QCheckBox::toggled, this, [this] { host_.ToggleScaling(); });
    connect(CheckBox13, &QCheckBox::toggled, this, [this](bool on) {
        host_.SetFilenameOption(on);
        host_.DrawWave();
    });

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
}

void TAmpScale::SetCheckQuietly(QCheckBox* box, bool on) {
    QSignalBlocker block(box);
    box->setChecked(on);
}

void TAmpScale::Button3Click() {
    for (int i = 0; i < kMaxChannels; ++i) {
        std::string text = Edits[i]->text().toStdString();
        std::optional<double> v = StrictFloat(text);
        if (!v) {
            // The remaining fields are not read.
            ThePrompts().Message(NotFloatText(text), kApplicationTitle, MessageIcon::Warning,
                                 PromptButtons::Ok);
            return;
        }
        view_.ChannelMagnification[i] = static_cast<float>(*v);
    }
    WaveView chosen = view_;
    for (int i = 0; i < kMaxChannels; ++i) chosen.DisplayChannels[i] = DisplayBoxes[i]->isChecked();
    const int count = CountDisplayedChannels(record_, chosen);
    if (count == 0) {
        ThePrompts().Message("No Display Channel !! ", "Display Channnel", MessageIcon::Warning,
                             PromptButtons::Ok);
        // The refused choice is undone: the boxes show the channels still drawn, and a later
        // redraw (a scroll, an option) does not empty the picture.
        for (int i = 0; i < kMaxChannels; ++i) SetCheckQuietly(DisplayBoxes[i], view_.DisplayChannels[i]);
        return;
    }
    view_.DisplayChannels = chosen.DisplayChannels;
    view_.DisplayedCount = count;
    host_.DrawWave();
}

void TAmpScale::Button1Click() {
    // Each box that changes applies the dialog through its own handler.
    for (QCheckBox* b : DisplayBoxes) b->setChecked(true);
}

void TAmpScale::Button2Click() {
    close();
}

void TAmpScale::RadioGroup1Click() {
    int item = RadioGroup1->ItemIndex();
    if (item < 0 || item >= static_cast<int>(std::size(kMagnifications))) return;
    view_.WaveMagnification = kMagnifications[item].Factor;
    for (QLineEdit* e : Edits) e->setText("1");
    for (int k = 0; k < record_.ChannelCount && k < kMaxChannels; ++k)
        Edits[k]->setText(kMagnifications[item].Text);
    Button3Click();
}

void TAmpScale::RadioGroup2Click() {
    int item = RadioGroup2->ItemIndex();
    if (item >= 0) host_.TimeScaleFromDialog(item);
}

}  // namespace wavora
