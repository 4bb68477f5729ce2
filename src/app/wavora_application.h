#pragma once
// The application object: the program's title, and a last guard that shows an exception escaping
// any event in a message box and lets the program go on.

#include <QApplication>

namespace wavora {

class Prompts;

class WavoraApplication : public QApplication {
  public:
    // The exception box is shown through `prompts`.
    WavoraApplication(int& argc, char** argv, Prompts& prompts);
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    Prompts& prompts_;
};

}  // namespace wavora
