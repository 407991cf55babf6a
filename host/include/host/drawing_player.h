// Reports a drawing to the module through the callback record it placed in
// the context at begin export, the way the host walks its own drawings.
#ifndef SVGFILTER_HOST_DRAWING_PLAYER_H
#define SVGFILTER_HOST_DRAWING_PLAYER_H

#include <string>

#include "host/drawing.h"
#include "host/host_fonts.h"
#include "svgfilter/filter_abi.h"

namespace host {

struct PlayResult {
    bool ok = true;
    std::string where;  // the JSON pointer of the object being reported
    std::string message;
};

// Walks drawing, layers and groups in order. Stops at the first entry that
// answers failure (100) or that the record does not offer.
// Text is laid out with `fonts`; a drawing with text fails without them.
PlayResult PlayDrawing(const Drawing& drawing, const svgf::ExportCallbackRecord& record,
                       HostFonts* fonts = nullptr);

// Whether any object of the drawing is text (and so needs the host's fonts).
bool HasText(const Drawing& drawing);

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_PLAYER_H
