#include "app/comment_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/main_commands.h"
#include "app/session.h"

namespace wavora {

namespace {
constexpr const char* kNoData = "No Data";
}

TComment::TComment(Session& session, MainCommands& commands, QWidget* parent)
    : QDialog(parent, Qt::Window), session_(session), commands_(commands) {
    setObjectName("TComment");
    setWindowTitle("File Comment");

    LbFname = new QLabel(this);
    LbFname->setObjectName("LbFname");
    LbFname->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LbFname->setMinimumWidth(320);
    EdTitle = new QLineEdit(this);
    EdTitle->setObjectName("EdTitle");
    EdComment = new QLineEdit(this);
    EdComment->setObjectName("EdComment");

    auto* texts = new QGridLayout;
    texts->addWidget(new QLabel("File Name", this), 0, 0);
    texts->addWidget(LbFname, 0, 1);
    texts->addWidget(new QLabel("Title", this), 1, 0);
    texts->addWidget(EdTitle, 1, 1);
    texts->addWidget(new QLabel("Comment", this), 2, 0);
    texts->addWidget(EdComment, 2, 1);
    texts->setColumnStretch(1, 1);

    auto* channels = new QGroupBox("Channel Comment", this);
    auto* channelGrid = new QGridLayout(channels);
    channelGrid->setVerticalSpacing(3);
    for (int k = 0; k < kMaxChannels; ++k) {
        EdCh[k] = new QLineEdit(channels);
        EdCh[k]->setObjectName(QString("EdCh%1").arg(k + 1));
        // Two columns of four: CH 1 … CH 4 on the left, CH 5 … CH 8 on the right.
        const int row = k % 4, col = (k / 4) * 2;
        channelGrid->addWidget(new QLabel(QString("CH %1").arg(k + 1), channels), row, col);
        channelGrid->addWidget(EdCh[k], row, col + 1);
    }

    auto* notes = new QVBoxLayout;
    notes->setSpacing(0);
    auto* note1 = new QLabel("Saved on SPC51 File only", this);
    note1->setObjectName("Label4");
    auto* note2 = new QLabel("Temporary for Others", this);
    note2->setObjectName("Label5");
    notes->addWidget(note1);
    notes->addWidget(note2);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(notes);
    bottom->addStretch(1);
    bottom->addWidget(OKBtn);
    bottom->addWidget(CancelBtn);

    auto* main = new QVBoxLayout(this);
    main->addLayout(texts);
    main->addWidget(channels);
    main->addLayout(bottom);

    // A new record (also the same file read again) ends an edit begun on the old one.
    connect(&session.Signals, &SessionSignals::recordChanged, this, [this] { close(); });
    FillFromRecord();
}

void TComment::FillFromRecord() {
    const WaveRecord& r = session_.State.Record;
    LbFname->setText(QString::fromStdString(r.FilePath));
    EdTitle->setText(QString::fromStdString(r.Title));
    EdComment->setText(QString::fromStdString(r.Comment));
    for (int k = 0; k < kMaxChannels; ++k) {
        const bool used = k < r.ChannelCount;
        EdCh[k]->setText(used ? QString::fromStdString(r.Channels[k].Name) : QString(kNoData));
        EdCh[k]->setEnabled(used);
    }
}

void TComment::Open() {
    FillFromRecord();
    show();
    raise();
    activateWindow();
}

void TComment::OKBtnClick() {
    SessionState& s = session_.State;
    if (!s.DataLoaded) {
        close();
        return;
    }
    CommentEdit edit;
    edit.Title = EdTitle->text().toStdString();
    edit.Comment = EdComment->text().toStdString();
    for (int k = 0; k < kMaxChannels && k < s.Record.ChannelCount; ++k)
        edit.Names[k] = EdCh[k]->text().toStdString();

    Outcome applied;
    if (s.Record.Format == FormatType::Spc51)
        applied = WriteSpc51Texts(s.Record, edit, Io);
    else
        ApplyCommentInMemory(s.Record, edit);
    if (!applied.Ok()) {
        session_.Prompt.Show(*applied.Error);
        return;
    }
    for (const Failure& warning : applied.Warnings) session_.Prompt.Show(warning);
    close();
    emit session_.Signals.recordTextsChanged();
    commands_.RedrawPicture();
}

void TComment::CancelBtnClick() {
    close();
}

}  // namespace wavora
