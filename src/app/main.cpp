// WAVORA: the application title, the sixteen windows in their order, and the message loop.

#include <QCoreApplication>

#include "app/app_windows.h"
#include "app/main_window.h"
#include "app/wavora_application.h"

int main(int argc, char** argv) {
    wavora::WavoraApplication app(argc, argv);
    auto windows = wavora::CreateAppWindows(QCoreApplication::applicationFilePath().toStdString());
    windows->Form1->show();
    return app.exec();
}
