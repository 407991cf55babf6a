// Attribute values on arbitrary text: lengths read one after another (as
// path data reads them), view boxes, transform lists and opacities, then
// converted to host units through the parsed transform. Never a crash, never
// a read past the text, opacities within 0..255.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "svgimport/coordinates.h"
#include "svgimport/names.h"
#include "svgimport/values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input's size, so that reading past it shows.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string_view view(text);

    std::vector<SVG::WLength> lengths;
    for (size_t at = 0; at < view.size() && lengths.size() < 64;) {
        size_t consumed = 0;
        const SVG::WLength length = SVG::ScanLength(view.substr(at), &consumed);
        if (consumed > view.size() - at) __builtin_trap();
        if (consumed == 0) {
            ++at;
            continue;
        }
        lengths.push_back(length);
        at += consumed;
    }
    const auto box = SVG::ParseNumberList(view);
    const SVG::WMatrix transform = SVG::ParseTransform(view);
    uint16_t opacity = 0;
    if (SVG::OpacityFromText(view, &opacity) && opacity > SVG::kOpaque) __builtin_trap();
    SVG::ElementId(view);
    SVG::AttributeId(view);
    SVG::ColourByName(view);

    SVG::WCoordinates coordinates;
    coordinates.SetRoot(SVG::WMatrix(254000.0 / 90, 0, 0, -254000.0 / 90, 0, 254000), 254000, 254000);
    coordinates.Current().Multiply(transform);
    coordinates.UpdateInverse();
    for (size_t i = 0; i + 1 < lengths.size(); i += 2) {
        SVG::WLength x = lengths[i], y = lengths[i + 1];
        coordinates.PointToHost(x, y, static_cast<int32_t>(i & 2));
        SVG::WLength w = lengths[i];
        coordinates.LengthToHost(w, SVG::kHorizontal);
        coordinates.LengthToUser(y, SVG::kVertical);
    }
    SVG::WLength width = box[2];
    coordinates.LengthToHost(width, SVG::kVertical);
    return 0;
}
