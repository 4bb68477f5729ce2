#pragma once
// Names the program shows of itself.

namespace wavora {

inline constexpr const char* kMainWindowCaption = " SPECTRAL ANALYZER WAVORA Ver4.8";

}  // namespace wavora
