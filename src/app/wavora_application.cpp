#include "app/wavora_application.h"

#include <exception>

#include "app/prompts.h"
#include "record/failure.h"

namespace wavora {

WavoraApplication::WavoraApplication(int& argc, char** argv, Prompts& prompts)
    : QApplication(argc, argv), prompts_(prompts) {
    setApplicationName(kApplicationTitle);
}

bool WavoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        prompts_.Message(e.what(), kApplicationTitle, MessageIcon::Warning, PromptButtons::Ok);
    } catch (...) {
        prompts_.Message("An unexpected error stopped the command.", kApplicationTitle, MessageIcon::Warning,
                         PromptButtons::Ok);
    }
    return false;
}

}  // namespace wavora
