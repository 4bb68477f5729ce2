#pragma once
// The application object: the program's title, and a last guard that shows an exception escaping
// any event in a message box and lets the program go on.

#include <QApplication>

namespace wavora {

class WavoraApplication : public QApplication {
  public:
    WavoraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace wavora
