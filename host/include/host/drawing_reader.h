// Reads drawing description files (docs/drawing-format.md): into a Drawing,
// or handing the drawing over object by object as it is read, so that a
// drawing of any size is exported in one pass and in bounded memory.
#ifndef SVGFILTER_HOST_DRAWING_READER_H
#define SVGFILTER_HOST_DRAWING_READER_H

#include <optional>
#include <string>
#include <string_view>

#include "host/drawing.h"
#include "host/json_cursor.h"

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

// What a reader hands a drawing to, in drawing order. Each entry answers
// false to stop the reading; the sink keeps its own reason.
class DrawingSink {
  public:
    virtual ~DrawingSink() = default;
    // The drawing's version and page are known; no layer has come yet.
    virtual bool BeginDrawing(const Drawing& drawing) = 0;
    // A layer (its objects empty): its objects follow, then its end.
    virtual bool BeginLayer(const DrawingLayer& layer) = 0;
    virtual bool EndLayer(const DrawingLayer& layer) = 0;
    // A shape, polygon, text or bitmap.
    virtual bool Object(const DrawingObject& object) = 0;
    // A group, link, clip or transform (its objects empty): its members
    // follow, then its end.
    virtual bool BeginStructure(const DrawingObject& object) = 0;
    virtual bool EndStructure(const DrawingObject& object) = 0;
    virtual bool EndDrawing() = 0;
};

// Reads `text` and hands the drawing to `sink` as it goes. `drawing` gets the
// version, the page and the pattern tiles (kept whole: the module asks for
// them during the walk); its layers are left to the sink. Members may come in
// any order: where a value needs one that comes after it, the reader passes
// over it and comes back. True when the whole description was read; false
// with `error` set when it does not describe a drawing, or with an empty
// error when the sink stopped. Image files named by relative paths are taken
// from baseFolder ("" for the current folder).
bool StreamDrawing(std::string_view text, Drawing& drawing, DrawingSink& sink, DrawingError& error,
                   const std::string& baseFolder = {});
// The same from any cursor over the description's text.
bool StreamDrawing(JsonCursor& json, Drawing& drawing, DrawingSink& sink, DrawingError& error,
                   const std::string& baseFolder = {});
// The same for a file, read piece by piece; image files are found beside it.
bool StreamDrawingFile(const std::string& path, Drawing& drawing, DrawingSink& sink, DrawingError& error);

// The whole drawing at once.
DrawingResult ReadDrawing(std::string_view text, const std::string& baseFolder = {});
DrawingResult ReadDrawingFile(const std::string& path);

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_READER_H
