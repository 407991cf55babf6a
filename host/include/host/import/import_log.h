// The import side's call log: one line for each call the module makes into
// the host's drawing table and import services (and for each call the host
// makes back into the module), its records written out field by field,
// what the call nests indented under it. docs/import-call-log.md describes
// the lines; golden tests compare the text.
#ifndef HOST_IMPORT_IMPORT_LOG_H
#define HOST_IMPORT_IMPORT_LOG_H

#include <cstddef>
#include <string>
#include <vector>

namespace host::import {

class ImportLog {
  public:
    // Adds a line at the current depth; the index lets its result be added
    // once the call returns, after the lines it nests.
    size_t Line(std::string text);
    void AppendTo(size_t line, const std::string& text);
    // Lines added until the matching Outdent are indented one step more.
    void Indent() { ++depth_; }
    void Outdent() {
        if (depth_ > 0) --depth_;
    }

    // The lines, two blanks a depth, each ended by a line feed.
    std::string Text() const;
    const std::vector<std::string>& Lines() const { return lines_; }
    void Clear();
    // A host that runs for a user rather than a test keeps no log: it would
    // grow with every object of the drawing.
    void SetRecording(bool recording) { recording_ = recording; }
    bool Recording() const { return recording_; }

  private:
    std::vector<std::string> lines_;
    bool recording_ = true;
    size_t depth_ = 0;
};

}  // namespace host::import

#endif  // HOST_IMPORT_IMPORT_LOG_H
