// Reports a drawing to the module through the callback record it placed in
// the context at begin export, the way the host walks its own drawings.
#ifndef SVGFILTER_HOST_DRAWING_PLAYER_H
#define SVGFILTER_HOST_DRAWING_PLAYER_H

#include <cstdint>
#include <functional>
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

// Gives the host's handle of a bitmap object's image, and names it where the
// host's raster filter will look for it; 0 with a reason when there is none.
using BitmapOpener = std::function<svgf::HostHandle(const DrawingObject& bitmap, std::string& reason)>;

// Walks drawing, layers and groups in order. Stops at the first entry that
// answers failure (100) or that the record does not offer.
// Text is laid out with `fonts`; a drawing with text fails without them.
// Without an opener (a host built without image files) bitmaps are skipped.
PlayResult PlayDrawing(const Drawing& drawing, const svgf::ExportCallbackRecord& record,
                       HostFonts* fonts = nullptr, const BitmapOpener& openBitmap = {});

// Whether any object of the drawing is text (and so needs the host's fonts).
bool HasText(const Drawing& drawing);

// Draws pattern tile `tile` (numbered from 1) of the drawing through the
// record: what the host does when the module asks it for a tile's content,
// in the middle of the walk.
PlayResult PlayTile(const Drawing& drawing, uintptr_t tile, const svgf::ExportCallbackRecord& record,
                    HostFonts* fonts = nullptr, const BitmapOpener& openBitmap = {});

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_PLAYER_H
