#include "batch/offscreen_gui.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <cstdio>

namespace wavora::batch {

namespace {

void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "wavora-batch: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

OffscreenGui::OffscreenGui() {
    if (QCoreApplication::instance() != nullptr) return;
    // The command line wins over QT_QPA_PLATFORM, so a desktop setting cannot reach for a display.
    static char name[] = "wavora-batch", option[] = "-platform", platform[] = "offscreen";
    argv_[0] = name, argv_[1] = option, argv_[2] = platform, argv_[3] = nullptr;
    argc_ = 3;
    previous_ = qInstallMessageHandler(QuietHandler);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

OffscreenGui::~OffscreenGui() {
    if (!app_) return;
    app_.reset();
    qInstallMessageHandler(previous_);
}

}  // namespace wavora::batch
