// The base of every object the document writer places: its id, classes,
// style block and transforms, and the write operation that gives its text.
#ifndef SVGFILTER_SVG_OBJECT_H
#define SVGFILTER_SVG_OBJECT_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rc_object.h"
#include "svg_id.h"
#include "svg_style.h"
#include "svg_transform.h"

namespace svgf {

// What an object needs of the writer to compose its text.
struct SVGWriteState {
    int depth = 0;             // blanks in front of each composed line
    int definitionsDepth = 2;  // gradients' indentation under the internal style sheet
    uint32_t cssMode = 0;      // 0 internal sheet, 1 external ".css", 2 style attribute
};

// A run of blanks.
inline std::string Indent(int depth) {
    return std::string(depth > 0 ? static_cast<size_t>(depth) : 0, ' ');
}

// The classes of an element, written as class="fil0 str1 ...". Copying a
// class list shares its selectors.
class SVGClass {
  public:
    void Add(std::shared_ptr<const SVGBASEID> selector) { selectors_.push_back(std::move(selector)); }
    bool Empty() const { return selectors_.empty(); }
    size_t Size() const { return selectors_.size(); }
    // class="..." or nothing for an empty list.
    std::string ClassAttribute() const;

  private:
    std::vector<std::shared_ptr<const SVGBASEID>> selectors_;
};

// The styles an element carries itself rather than through classes.
struct SVGStyleBlock {
    CRCPtr<SVGFill> fill;
    CRCPtr<SVGStroke> stroke;
    CRCPtr<SVGFontProps> font;
    CRCPtr<SVGMaskInlineReference> mask;
    std::string clip;  // id of the clip path; empty for none

    // The CSS declarations, without the attribute around them.
    std::string CssText() const;
    // style="..." (XML-escaped), or nothing when there is no style.
    std::string StyleAttribute() const;
};

class SVGObject {
  public:
    SVGObject() = default;
    SVGObject(const SVGObject&) = default;
    SVGObject& operator=(const SVGObject&) = default;
    virtual ~SVGObject();

    // The object's whole text, ending with one CR LF, indented by the state's
    // depth; empty when the object has nothing to write.
    virtual std::string Write(const SVGWriteState& state) const = 0;

    // Appends a matrix node to the transforms.
    void AddMatrix(double a, double b, double c, double d, double e, double f) {
        transforms.push_back(SVGXformNode::Matrix(a, b, c, d, e, f));
    }

    // The class, id and style attributes, those present joined by blanks.
    std::string CommonAttributes() const;

    SVGID id;
    SVGClass classes;
    SVGStyleBlock style;
    SVGXformList transforms;
};

namespace detail {
// opening + the non-empty parts joined by blanks + closing, with one CR LF at
// the end and the indentation in front.
std::string ComposeElement(const SVGWriteState& state, const std::string& opening,
                           const std::vector<std::string>& parts, const std::string& closing);
// Appends the parts that are not empty, each behind one blank.
void AppendParts(std::string& text, const std::vector<std::string>& parts);
}  // namespace detail

}  // namespace svgf

#endif  // SVGFILTER_SVG_OBJECT_H
