#include "app/listup_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_commands.h"
#include "app/session.h"
#include "record/number_text.h"

namespace wavora {

TListup::TListup(Session& session, MainCommands& commands, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), session_(session), commands_(commands) {
    setObjectName("TListup");
    setWindowTitle(" Listup Data");
    Edit1 = new QLineEdit("0", this);
    Edit1->setObjectName("Edit1");
    Edit2 = new QLineEdit(QString::fromStdString(session.State.ListLengthText), this);
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
    // The page length is the session's; the main window's listing reads it from there.
    connect(Edit2, &QLineEdit::textChanged, this,
            [this](const QString& t) { session_.State.ListLengthText = t.toStdString(); });
    connect(&session.Signals, &SessionSignals::positionChanged, this, [this] { SyncFromState(); });
    // A new record starts its listing afresh.
    connect(&session.Signals, &SessionSignals::recordChanged, this, [this] {
        SyncFromState();
        close();
    });
}

void TListup::SyncFromState() {
    Edit1->setText(QString::number(session_.State.ListFrom));
}

void TListup::Button1Click() {
    const std::string text = Edit1->text().toStdString();
    std::optional<int> v = StrictInt(text);
    if (!v) {
        session_.Prompt.Message(NotIntegerText(text), kApplicationTitle, MessageIcon::Warning,
                                PromptButtons::Ok);
        return;
    }
    if (*v >= session_.State.Record.SampleCount) {
        session_.Prompt.Message("Data exhausted. No List up Data", "Data Ended", MessageIcon::Warning,
                                PromptButtons::Ok);
        return;
    }
    // A start before the record lists from its first sample.
    const int start = std::max(*v, 0);
    commands_.MovePosition(start);
    commands_.DrawWave();
    commands_.BtnListClick();
}

void TListup::Button2Click() {
    session_.State.ListStart = 0;
    close();
}

}  // namespace wavora
