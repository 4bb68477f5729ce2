#pragma once
// The start-up text of the main window's picture: how to begin, and the date of the program file.

#include "draw/canvas.h"

namespace wavora {

// The fixed-pitch Gothic font of the picture's texts.
inline constexpr const char* kPictureFont = "ＭＳゴシック";

void DrawStartupText(Canvas& canvas, int year, int month, int day);

}  // namespace wavora
