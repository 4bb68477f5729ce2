#pragma once
// A text result written as the program writes its files: code page 932, complete or not at all.

#include <string>

#include "record/failure.h"

namespace wavora::batch {

// Writes `utf8` (lines already ending in CR LF) in code page 932. Failures: "File open error"
// ("FILE OPEN ERROR") when the file cannot be created, "File write error" ("FILE WRITE ERROR").
Outcome WriteResultText(const std::string& path, const std::string& utf8);

}  // namespace wavora::batch
