#pragma once
// The text of "Help for Peaks": how the spectral peaks window works, its menus and buttons, what
// the histogram and the listings mean, and the automatic skipping analysis. Plain text with "\n"
// line ends, shown as it is by the help window.

#include <string>

namespace wavora {

const std::string& PeaksHelpText();

}  // namespace wavora
