// The import side's call log.
#include "host/import/import_log.h"

namespace host::import {

size_t ImportLog::Line(std::string text) {
    // Past the last line: what is appended to it goes nowhere.
    if (!recording_) return lines_.size();
    lines_.push_back(std::string(2 * depth_, ' ') + std::move(text));
    return lines_.size() - 1;
}

void ImportLog::AppendTo(size_t line, const std::string& text) {
    if (line < lines_.size()) lines_[line] += text;
}

std::string ImportLog::Text() const {
    std::string out;
    for (const std::string& line : lines_) {
        out += line;
        out += '\n';
    }
    return out;
}

void ImportLog::Clear() {
    lines_.clear();
    depth_ = 0;
}

}  // namespace host::import
