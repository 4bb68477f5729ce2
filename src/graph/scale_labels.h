#pragma once
// Scale steps and number texts of the axes and amplitude bars (no Qt).

namespace wavora {}
