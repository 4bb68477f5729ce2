#include "app/small_windows.h"

#include <algorithm>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <qdrawutil.h>

#include "app/pictures.h"
#include "display/click_label.h"

namespace wavora {

namespace {

void CentreOnScreen(QWidget* w) {
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = s->availableGeometry();
        w->move(r.center() - QPoint(w->width() / 2, w->height() / 2));
    }
}

}  // namespace

TAboutBox::TAboutBox(const std::string& programDate, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("TAboutBox");
    setWindowTitle(QString::fromUtf8("バージョン情報"));
    setStyleSheet("TAboutBox { background: #f4f4f4; border: 2px solid #404040; }");

    Image1 = new ClickLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(pictures::TitlePicture(300, 70));
    ProgramIcon = new ClickLabel(this);
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setPixmap(pictures::ProgramPicture(64));
    auto* product = new QLabel("Spectral Analyzer WAVORA", this);
    QFont bold = product->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    product->setFont(bold);
    Version = new QLabel("Ver 4.8", this);
    Version->setObjectName("Version");
    DateLabel = new QLabel(QString::fromStdString(programDate), this);
    DateLabel->setObjectName("DateLabel");
    auto* note = new QLabel(
        QString::fromUtf8(
            "多チャンネル振動記録のスペクトル解析\nSpectral analysis of multi-channel vibration records"),
        this);

    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(Version);
    text->addWidget(DateLabel);
    text->addWidget(note);
    auto* row = new QHBoxLayout;
    row->addWidget(ProgramIcon, 0, Qt::AlignTop);
    row->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1, 0, Qt::AlignHCenter);
    layout->addLayout(row);
    auto* hint = new QLabel(QString::fromUtf8("Click the picture to close."), this);
    hint->setStyleSheet("color: #707070;");
    layout->addWidget(hint, 0, Qt::AlignRight);
    connect(Image1, &ClickLabel::Clicked, this, &QDialog::accept);
    connect(ProgramIcon, &ClickLabel::Clicked, this, &QDialog::accept);
    adjustSize();
    CentreOnScreen(this);
}

THowto::THowto(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName("THowto");
    setWindowTitle("Howto");
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setPlainText(QString::fromUtf8(HowtoText()));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(9);
    Memo1->setFont(mono);
    Button1 = new QPushButton("Close(&C)", this);
    Button1->setObjectName("Button1");
    connect(Button1, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    resize(760, 560);
    CentreOnScreen(this);
}

TProcess::TProcess(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TProcess");
    setWindowTitle("  Processing now. Wait a moment, please.");
    Label1 = new QLabel("Wait a moment, please.", this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    QFont f = Label2->font();
    f.setBold(true);
    Label2->setFont(f);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setRange(0, 1000);
    ProgressBar->setTextVisible(false);
    ProgressBar->hide();
    BtnCancel = new QPushButton("Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->hide();
    connect(BtnCancel, &QPushButton::clicked, this, [this] {
        cancelPressed_ = true;
        BtnCancel->setEnabled(false);
        Label1->setText("Stopping, please wait.");
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    layout->addWidget(Label2, 0, Qt::AlignHCenter);
    layout->addWidget(ProgressBar);
    layout->addWidget(BtnCancel, 0, Qt::AlignHCenter);
    setMinimumWidth(360);
    // While the notice shows, the rest of the program waits for the step it tells of.
    setWindowModality(Qt::ApplicationModal);
}

bool TProcess::ShowProgress(const std::string& what, double fraction) {
    if (ProgressBar->isHidden() || BtnCancel->isHidden()) {
        ProgressBar->show();
        BtnCancel->show();
        adjustSize();
    }
    ProgressBar->setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 1000.0));
    ShowNow(what);
    // The events (a press of Cancel) are let through about twenty times a second.
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= 50) {
        sinceEvents_.restart();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return !cancelPressed_;
}

void TProcess::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) return QDialog::keyPressEvent(event);
    if (BtnCancel->isVisible() && BtnCancel->isEnabled()) BtnCancel->click();
    event->accept();
}

void TProcess::hideEvent(QHideEvent* event) {
    // The next step starts afresh: no bar, no Cancel, nothing pressed.
    cancelPressed_ = false;
    ProgressBar->hide();
    BtnCancel->hide();
    BtnCancel->setEnabled(true);
    Label1->setText("Wait a moment, please.");
    sinceEvents_.invalidate();
    QDialog::hideEvent(event);
}

void TProcess::ShowNow(const std::string& what) {
    // The notice is painted when its text changes and then at most a few times a second.
    const QString text = QString::fromStdString(what);
    if (isVisible() && Label2->text() == text && sincePaint_.isValid() && sincePaint_.elapsed() < 200) return;
    sincePaint_.restart();
    Label2->setText(text);
    if (!isVisible()) {
        show();
        raise();
        // Let the window system map the notice before the work keeps the thread busy.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    Label2->repaint();
    repaint();
}

PendingWindow::PendingWindow(const char* className, const char* caption, QWidget* parent)
    : QDialog(parent, Qt::Window) {
    setObjectName(className);
    setWindowTitle(QString::fromUtf8(caption));
    auto* text = new QLabel(QString::fromUtf8("%1\n\nThis window is not available in this version yet.")
                                .arg(QString::fromUtf8(caption).trimmed()),
                            this);
    text->setAlignment(Qt::AlignCenter);
    auto* close = new QPushButton("Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    resize(360, 160);
}

TTkBtn::TTkBtn(QWidget* parent) : QFrame(parent) {
    setObjectName("TTkBtn");
    resize(75, 25);
}

void TTkBtn::SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void TTkBtn::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void TTkBtn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!picture_.isNull()) p.drawPixmap(rect(), picture_);
    qDrawShadePanel(&p, rect(), palette(), bevel_ == Bevel::Lowered, 1);
    // The caption goes over the picture with no background of its own.
    p.setFont(font());
    p.setPen(palette().color(QPalette::ButtonText));
    p.drawText(rect(), Qt::AlignCenter, caption_);
}

void TTkBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mousePressEvent(event);
    bevel_ = Bevel::Lowered;
    update();
}

void TTkBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || bevel_ != Bevel::Lowered)
        return QFrame::mouseReleaseEvent(event);
    bevel_ = Bevel::Raised;
    update();
    if (rect().contains(event->position().toPoint())) emit Clicked();
}

}  // namespace wavora
