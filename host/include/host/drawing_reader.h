// Reads drawing description files (docs/drawing-format.md).
#ifndef SVGFILTER_HOST_DRAWING_READER_H
#define SVGFILTER_HOST_DRAWING_READER_H

#include <optional>
#include <string>
#include <string_view>

#include "host/drawing.h"

namespace host {

// The newest format version this reader understands.
inline constexpr int kDrawingFormatVersion = 1;

// Deepest group nesting a description may use.
inline constexpr int kMaxGroupDepth = 100;

// What went wrong and where: `where` is "line:column" for text that is not
// JSON, a JSON pointer ("/layers/0/name") for JSON that does not describe a
// drawing, or empty when the file itself cannot be read.
struct DrawingError {
    std::string where;
    std::string message;

    // "SOURCE:WHERE: MESSAGE", the form a command line reports.
    std::string Describe(std::string_view source) const;
};

struct DrawingResult {
    std::optional<Drawing> drawing;
    DrawingError error;  // meaningful when there is no drawing

    explicit operator bool() const { return drawing.has_value(); }
};

// Image files named by relative paths are taken from baseFolder ("" for
// the current folder); ReadDrawingFile takes the file's own folder.
DrawingResult ReadDrawing(std::string_view text, const std::string& baseFolder = {});
DrawingResult ReadDrawingFile(const std::string& path);

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_READER_H
