// What the reader asks of an element's computed style, and the one
// interface through which it asks. The style engine's visual document
// answers it in an import; tests answer it with a small stand-in.
#ifndef SVGIMPORT_STYLE_SOURCE_H
#define SVGIMPORT_STYLE_SOURCE_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "markup/parser/dom/dom_handle.h"
#include "svgimport/values.h"

namespace SVG {

// A reference to a definition: the element itself when the style engine
// has already found it, else the reference text ("url(#id)" or "#id"),
// which the reader looks up in its id index.
struct WStyleReference {
    markup::WDOMHandle element;
    std::string text;
    bool Empty() const { return element.IsNull() && text.empty(); }
    // The same element (by its node) and text.
    bool operator==(const WStyleReference& other) const;
};

// A fill or stroke paint.
struct WStylePaint {
    enum class Kind { kNone, kColour, kReference };
    Kind kind = Kind::kNone;
    uint32_t colour = 0;  // platform colour value 0x00BBGGRR, for kColour
    WStyleReference reference;
    double alpha = 1.0;  // the colour's own alpha (rgba(), "#RRGGBBAA", transparent), for kColour
    bool operator==(const WStylePaint&) const = default;
};

// text-anchor.
namespace text_anchor {
inline constexpr int32_t kStart = 0;
inline constexpr int32_t kMiddle = 1;
inline constexpr int32_t kEnd = 2;
}  // namespace text_anchor

struct WStyleFont {
    int32_t weight = 400;  // CSS weight 100..900
    bool italic = false;
    bool decoration = false;  // underline, overline or line-through
    std::string family;       // as the style gives it; quotes are removed by the reader
    std::optional<WStyleNumber> size;
    bool operator==(const WStyleFont&) const = default;
};

// Computed values, each one already inherited or defaulted as the cascade
// leaves it; an absent optional means "not given" where the reader treats
// that apart.
struct WComputedStyle {
    WStylePaint fill{WStylePaint::Kind::kColour, 0, {}};  // SVG's initial fill: black
    std::optional<WStyleNumber> fillOpacity;
    WStylePaint stroke;
    WStyleNumber strokeWidth{1, style_unit::kNumber};
    std::optional<int32_t> lineCap;   // SVG::cap codes
    std::optional<int32_t> lineJoin;  // SVG::join codes
    std::optional<WStyleNumber> miterLimit;
    std::vector<WStyleNumber> dashes;
    std::optional<WStyleNumber> dashOffset;
    std::optional<WStyleNumber> strokeOpacity;
    std::optional<WStyleFont> font;
    WStyleReference clipPath;
    WStyleReference mask;
    std::optional<uint32_t> stopColour;  // platform colour value
    double stopAlpha = 1.0;              // the stop colour's own alpha
    std::optional<WStyleNumber> stopOpacity;
    bool displayNone = false;  // display: none, the element's own
    bool hidden = false;       // visibility: hidden (inherited; a child may be visible)
    std::optional<WStyleNumber> opacity;  // the element's own, not its group's
    bool evenOdd = false;      // fill-rule: evenodd
    bool clipEvenOdd = false;  // clip-rule: evenodd
    int32_t textAnchor = text_anchor::kStart;
    bool operator==(const WComputedStyle&) const = default;
};

class WStyleSource {
  public:
    virtual ~WStyleSource();
    // The computed style of an element; false when the element has none
    // (the reader then takes the initial values).
    virtual bool GetStyle(const markup::WDOMHandle& element, WComputedStyle* style) = 0;
    // The reader is done with the element's style: a source that holds it
    // may let it go (a later GetStyle computes it again, the same).
    virtual void Release(const markup::WDOMHandle& element) { (void)element; }
    // Until the matching EndInstance, `target` and its subtree are drawn as
    // the instance of the `use` element: there they inherit from the `use`
    // (as it stands where it is drawn), not from where they are defined.
    // Instances nest. A source without inheritance of its own ignores it.
    virtual void BeginInstance(const markup::WDOMHandle& use, const markup::WDOMHandle& target) {
        (void)use;
        (void)target;
    }
    virtual void EndInstance() {}
};

}  // namespace SVG

#endif  // SVGIMPORT_STYLE_SOURCE_H
