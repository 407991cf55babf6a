// Reports a drawing to the module through the callback record it placed in
// the context at begin export, the way the host walks its own drawings.
#ifndef SVGFILTER_HOST_DRAWING_PLAYER_H
#define SVGFILTER_HOST_DRAWING_PLAYER_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/drawing.h"
#include "host/drawing_reader.h"
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

// Gives the host's fonts when the walk meets text (null: the host has none).
using FontSource = std::function<HostFonts*()>;

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
                    const FontSource& fonts = {}, const BitmapOpener& openBitmap = {});

// The same walk taken as a reader hands the drawing over (StreamDrawing),
// object by object; it stops at the first failure, which Result() tells.
class DrawingPlayer final : public DrawingSink {
  public:
    DrawingPlayer(const svgf::ExportCallbackRecord& record, FontSource fonts, BitmapOpener openBitmap);
    ~DrawingPlayer() override;
    DrawingPlayer(const DrawingPlayer&) = delete;
    DrawingPlayer& operator=(const DrawingPlayer&) = delete;

    bool BeginDrawing(const Drawing& drawing) override;
    bool BeginLayer(const DrawingLayer& layer) override;
    bool EndLayer(const DrawingLayer& layer) override;
    bool Object(const DrawingObject& object) override;
    bool BeginStructure(const DrawingObject& object) override;
    bool EndStructure(const DrawingObject& object) override;
    bool EndDrawing() override;

    const PlayResult& Result() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_PLAYER_H
