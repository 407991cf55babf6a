// The drawing description (docs/drawing-format.md) of what the import drew:
// JSON text made straight from the host records of each call, in host
// units, one layer. Objects are made as text when their call arrives and
// written at once; a structure (group, clip) opens in the text when it
// begins and closes when it ends.
#ifndef HOST_IMPORT_DESCRIPTION_H
#define HOST_IMPORT_DESCRIPTION_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/import/import_host.h"
#include "text_sink.h"
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

// The writing state of one open structure (a group, a clip, the layer, a
// pattern tile's objects): its members are written to the text as they
// come, neighbours under one link into one link object.
struct MemberList {
    int level = 0;       // of the members
    bool lines = true;   // one a line, indented (a tile's objects share one line)
    bool keyed = false;  // a group or clip, whose members follow an "objects" key
    size_t members = 0;
    std::string link;    // of the link object open at the end, if any
};

// Writes what comes before a member under `link` (empty for none): the
// separator, the indent, the link object's start.
void BeginMember(MemberList& list, const std::string& link, TextSink& out);
// What ends the structure: its open link object and, for a group or clip,
// the members' array and the object.
std::string MembersEnd(const MemberList& list);

// Where the module's drawing lands in the description: a pattern tile's
// objects are shifted so that its box's lower-left corner is (0, 0).
struct Placement {
    svgf::HostPoint offset{0, 0};
    int level = 0;  // of the structure's members
};

// Draws a pattern tile through the module: its objects' text (members
// joined on one line), or none when the host could not have it drawn.
class TileSource {
  public:
    virtual ~TileSource() = default;
    virtual std::optional<std::string> DrawTile(const svgf::HostPatternTileBlock& block, int level) = 0;
};

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

// The description around the layer's members: up to them, and after them.
std::string DocumentHead(const svgf::HostRect& page);
std::string DocumentTail(const MemberList& layer);

}  // namespace host::import

#endif  // HOST_IMPORT_DESCRIPTION_H
