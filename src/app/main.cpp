// WAVORA: the application title, the sixteen windows in their order, and the message loop.

#include <QCoreApplication>

#include "app/app_windows.h"
#include "app/main_window.h"
#include "app/qt_prompts.h"
#include "app/wavora_application.h"

int main(int argc, char** argv) {
    wavora::QtPrompts prompts;
    wavora::WavoraApplication app(argc, argv, prompts);
    auto windows = wavora::CreateAppWindows(prompts, QCoreApplication::applicationFilePath().toStdString());
    prompts.SetOwner(windows->Form1.get());
    windows->Form1->show();
    return app.exec();
}
