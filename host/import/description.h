// The drawing description (docs/drawing-format.md) of what the import drew:
// JSON text made straight from the host records of each call, in host
// units, one layer. Objects are made as text when their call arrives;
// structures (groups, clips) collect their members' texts until they end.
#ifndef HOST_IMPORT_DESCRIPTION_H
#define HOST_IMPORT_DESCRIPTION_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/import/import_host.h"
#include "svgfilter/import_abi.h"

namespace host::import {

using Warnings = std::vector<std::string>;

// Pattern tiles whose objects would stand deeper than this are not drawn.
inline constexpr int kMaxTileLevel = 90;
// Levels an object may add around itself and below it: a link, a text's
// transform, and the tile of a pattern fill.
inline constexpr int kObjectLevels = 3;

// A coordinate or size held to the range the description's reader takes.
inline int64_t ClampHost(int64_t v) {
    constexpr int64_t kLimit = INT32_MAX - 1;
    return v < -kLimit ? -kLimit : v > kLimit ? kLimit : v;
}

// One member of a structure: an object's JSON text and the link it is under
// (empty for none). Neighbours under the same link share one link object.
struct Item {
    std::string json;
    std::string link;
};

// Where the module's drawing lands in the description: a pattern tile's
// objects are shifted so that its box's lower-left corner is (0, 0).
struct Placement {
    svgf::HostPoint offset{0, 0};
    int level = 0;  // of the structure's members
};

// Draws a pattern tile through the module: its objects' items, or none when
// the host could not have it drawn.
class TileSource {
  public:
    virtual ~TileSource() = default;
    virtual std::optional<std::vector<Item>> DrawTile(const svgf::HostPatternTileBlock& block, int level) = 0;
};

// Items joined as the members of a structure at `level`, one a line.
std::string JoinItems(const std::vector<Item>& items, int level);

// The link a primitive's attributes carry, ISO-8859-1 (characters beyond
// it percent-encoded as UTF-8); empty without one.
std::string LinkOf(const svgf::HostAttributes* attributes);

// ", \"fill\": ..., \"outline\": ..., \"transparency\": ..." for the
// attributes of an object at `level`.
std::string StyleMembers(const svgf::HostAttributes* attributes, int level, TileSource& tiles,
                         Warnings& warnings);
std::string ColourJson(const svgf::ColorRecord& colour);

// The nodes arrays of a path: more than one when it holds more points than
// a described path may (its subpaths then spread over several paths). None
// for a path without points.
std::vector<std::string> PathNodes(const svgf::HostPoint* points, const uint8_t* kinds, size_t count,
                                   svgf::HostPoint offset, Warnings& warnings);

// A box as "\"x\": ..., \"y\": ..., \"width\": ..., \"height\": ..." (lower-left corner).
std::string AreaMembers(const svgf::HostRect& box, svgf::HostPoint offset);
// A matrix as a description's six numbers, its translation shifted.
std::string MatrixJson(const svgf::HostMatrix& m, svgf::HostPoint offset, Warnings& warnings);
bool IsIdentity(const svgf::HostMatrix& m);

// The font members of a text: family, size, and weight, slant and capitals
// from the style word.
std::string FontJson(const std::string& family, int32_t size, uint32_t styleWord);

// An image file stands in an object's text as this reference until the
// description's folder is known (JSON strings never hold the raw mark).
inline constexpr char kImageMark = '\x01';
inline std::string ImageReference(svgf::HostWord picture) {
    return kImageMark + std::to_string(picture) + kImageMark;
}

// The whole description: the page and one layer of items.
std::string DocumentText(const svgf::HostRect& page, const std::vector<Item>& items);

}  // namespace host::import

#endif  // HOST_IMPORT_DESCRIPTION_H
