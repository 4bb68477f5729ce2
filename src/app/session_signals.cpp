#include "app/session_signals.h"

// The signals are generated; this unit gives the header to the meta-object compiler.
