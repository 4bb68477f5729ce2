#include "app/listup_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "app/main_window.h"
#include "record/number_text.h"
#include "app/prompts.h"

namespace wavora {

TListup::TListup(TForm1& form, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), form_(form) {
    setObjectName("TListup");
    setWindowTitle(" Listup Data");
    Edit1 = new QLineEdit("0", this);
    Edit1->setObjectName("Edit1");
    Edit2 = new QLineEdit("1000", this);
    Edit2->setObjectName("Edit2");
    Button1 = new QPushButton("List Up", this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton("Close", this);
    Button2->setObjectName("Button2");
    Button1->setDefault(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("List From", this), 0, 0);
    layout->addWidget(Edit1, 0, 1);
    layout->addWidget(new QLabel("Skip", this), 1, 0);
    layout->addWidget(Edit2, 1, 1);
    layout->addWidget(Button1, 2, 0);
    layout->addWidget(Button2, 2, 1);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TListup::Button1Click() {
    const std::string text = Edit1->text().toStdString();
    std::optional<int> v = StrictInt(text);
    if (!v) {
        ThePrompts().Message(NotIntegerText(text), kApplicationTitle, MessageIcon::Warning,
                             PromptButtons::Ok);
        return;
    }
    if (*v >= form_.Record().SampleCount) {
        ThePrompts().Message("Data exhausted. No List up Data", "Data Ended", MessageIcon::Warning,
                             PromptButtons::Ok);
        return;
    }
    // A start before the record lists from its first sample.
    int start = std::max(*v, 0);
    form_.TrackBar1->setValue(start);
    form_.Label21->setText(QString::number(start));
    form_.State().ListStart = start;
    form_.DrawWave();
    form_.BtnListClick();
}

void TListup::Button2Click() {
    form_.State().ListStart = 0;
    close();
}

}  // namespace wavora
