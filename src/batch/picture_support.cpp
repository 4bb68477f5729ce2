#include "batch/picture_support.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGlobal>
#include <cstdio>

namespace wavora::batch {

namespace {

// Qt's own notes about the offscreen platform (no runtime folder, no screen) are not the program's
// messages: only its serious errors reach standard error.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "wavora-batch: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

void EnsurePictureSupport() {
    if (QCoreApplication::instance() != nullptr) return;
    qInstallMessageHandler(QuietQtMessages);
    // Never a display: a terminal without one must write the same picture.
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    static int argc = 1;
    static char name[] = "wavora-batch";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends, like the application object of the program.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

}  // namespace wavora::batch
