#pragma once
// The three ways text readers cut a line into fields. A line feed ends the line like the end of the text.

#include <string>
#include <string_view>
#include <vector>

namespace wavora {

// Fields between commas; blanks and tabs before a field's first character are skipped, those after
// it belong to the field. An empty or blank line has no field.
std::vector<std::string> SplitFields(std::string_view line);
// Tokens separated by blanks, tabs and commas; a comma not directly after a token character gives
// an empty token.
std::vector<std::string> SplitTokens(std::string_view line);
// Every comma splits; nothing is trimmed. An empty text has no cell.
std::vector<std::string> SplitCells(std::string_view line);

}  // namespace wavora
