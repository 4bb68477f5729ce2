#include "record/line_split.h"

namespace wavora {

namespace {

std::string_view UpToLineFeed(std::string_view line) {
    auto lf = line.find('\n');
    return lf == std::string_view::npos ? line : line.substr(0, lf);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> SplitFields(std::string_view text) {
    std::string_view line = UpToLineFeed(text);
    std::vector<std::string> fields;
    std::string current;
    bool collecting = false, sawComma = false;
    for (char c : line) {
        if (!collecting) {
            if (IsBlank(c)) continue;
            if (c == ',') {
                fields.emplace_back();
                sawComma = true;
            } else {
                current.assign(1, c);
                collecting = true;
            }
        } else if (c == ',') {
            fields.push_back(std::move(current));
            current.clear();
            collecting = false;
            sawComma = true;
        } else {
            current.push_back(c);
        }
    }
    if (collecting)
        fields.push_back(std::move(current));
    else if (sawComma)
        fields.emplace_back();
    return fields;
}

std::vector<std::string> SplitTokens(std::string_view text) {
    std::string_view line = UpToLineFeed(text);
    std::vector<std::string> tokens;
    std::string current;
    bool collecting = false;
    for (char c : line) {
        if (!collecting) {
            if (IsBlank(c)) continue;
            if (c == ',') {
                tokens.emplace_back();
            } else {
                current.assign(1, c);
                collecting = true;
            }
        } else if (c == ',' || IsBlank(c)) {
            tokens.push_back(std::move(current));
            current.clear();
            collecting = false;
        } else {
            current.push_back(c);
        }
    }
    if (collecting) tokens.push_back(std::move(current));
    return tokens;
}

std::vector<std::string> SplitCells(std::string_view text) {
    std::vector<std::string> cells;
    if (text.empty()) return cells;
    std::string_view line = UpToLineFeed(text);
    size_t start = 0;
    for (;;) {
        size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            cells.emplace_back(line.substr(start));
            break;
        }
        cells.emplace_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return cells;
}

}  // namespace wavora
