#include "running/peaks_help_window.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/peaks_help.h"

namespace wavora {

TPkHelp::TPkHelp(Session&, MainCommands&, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName("TPkHelp");
    setWindowTitle("Help for Peaks");
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(9);
    Memo1->setFont(mono);
    Memo1->setPlainText(QString::fromStdString(PeaksHelpText()));
    Button1 = new QPushButton("Close(&C)", this);
    Button1->setObjectName("Button1");
    connect(Button1, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    // Wide enough for the text's longest lines.
    const QFontMetrics metrics(mono);
    resize(metrics.horizontalAdvance(QString(84, QChar('M'))) + 40, 560);
}

}  // namespace wavora
