#include "svg_id.h"

#include "c_format.h"
#include "xml_escape.h"

namespace svgf {

SVGBASEID::~SVGBASEID() = default;

void SVGID::SetNumber(int number) {
    name_ = FormatC("id%d", number);
}

std::string SVGID::IdAttribute() const {
    if (name_.empty()) return {};
    return "id=\"" + EscapeXmlAttribute(name_) + "\"";
}

void SVGFillSelector::SetNumber(int number) {
    name_ = FormatC("fil%d", number);
}
void SVGOutlineSelector::SetNumber(int number) {
    name_ = FormatC("str%d", number);
}
void SVGFontSelector::SetNumber(int number) {
    name_ = FormatC("fnt%d", number);
}

}  // namespace svgf
