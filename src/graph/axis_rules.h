#pragma once
// The graph component's rounding, sub-division and zero-label rules and its automatic axes (no Qt).

namespace wavora {}
