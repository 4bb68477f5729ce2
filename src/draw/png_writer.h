#pragma once
// PNG files of the pictures, encoded by libpng as full-colour 8-bit RGB with the encoder's default
// compression and filtering. The file appears under its name only when it is complete: it is
// written to a temporary name in the same folder and then renamed over the target.

#include <cstddef>
#include <cstdint>
#include <string>

#include "record/failure.h"

class QImage;

namespace wavora {

// Rows of width × 3 bytes (red, green, blue), each row starting stride bytes after the previous.
[[nodiscard]] Outcome WritePngRgb(const std::string& path, int width, int height, const uint8_t* rgb,
                                  size_t stride);

// The whole image, converted to RGB.
[[nodiscard]] Outcome WritePng(const std::string& path, const QImage& image);

}  // namespace wavora
