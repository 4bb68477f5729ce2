#pragma once
// What every window of the program is made with: the session state, the change notifications and
// the prompts (real dialogs in the program, a script in the tests).

#include "app/prompts.h"
#include "app/session_signals.h"
#include "app/session_state.h"

namespace wavora {

struct Session {
    explicit Session(Prompts& prompts) : Prompt(prompts) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    SessionState State;
    SessionSignals Signals;
    Prompts& Prompt;
};

}  // namespace wavora
