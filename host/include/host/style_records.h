// The host records behind one object's style: the fill, outline and
// transparency records and the attributes record that points at them, as
// the host hands them to the module with every shape.
#ifndef HOST_STYLE_RECORDS_H
#define HOST_STYLE_RECORDS_H

#include <vector>

#include "host/drawing.h"
#include "svgfilter/filter_abi.h"

namespace host {

// The attributes record points into the object itself, so it neither
// copies nor moves.
class StyleRecords {
  public:
    explicit StyleRecords(const Style& style);
    StyleRecords(const StyleRecords&) = delete;
    StyleRecords& operator=(const StyleRecords&) = delete;

    const svgf::HostAttributes* Attributes() const { return &attributes_; }

  private:
    svgf::HostFillRecord fill_{};
    svgf::HostOutlineRecord outline_{};
    svgf::HostFillRecord transparencyKind_{};
    svgf::HostTransparency transparency_{};
    svgf::HostAttributes attributes_{};
    svgf::HostMatrix matrix_{{1, 0, 0, 0, 1, 0}};  // the object's matrix (the seventh field)
};

// The fountain block of a fill or transparency record.
svgf::HostFountain FountainBlock(const FountainStyle& fountain);
// The pattern block: the tile's number, size and content box (0, 0 to the size).
svgf::HostPatternBlock PatternBlock(const PatternStyle& pattern);

// The outline record of an outline style: identity transform, dashes (at
// most 17) from byte 102.
svgf::HostOutlineRecord OutlineRecord(const OutlineStyle& outline);

// The path the host sends for an ellipse the module did not take: four
// cubic curves, closed.
void EllipseAsPath(svgf::HostPoint centre, int32_t width, int32_t height,
                   std::vector<svgf::HostPoint>& points, std::vector<uint8_t>& nodeTypes);

}  // namespace host

#endif  // HOST_STYLE_RECORDS_H
