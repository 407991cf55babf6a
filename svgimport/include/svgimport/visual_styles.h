// The reader's styles from the style engine: each element's computed
// StyleProperties record, as the visual document gives it, read into the
// values the reader asks for.
#ifndef SVGIMPORT_VISUAL_STYLES_H
#define SVGIMPORT_VISUAL_STYLES_H

#include "markup/style/css_manager.h"
#include "markup/style/visual_doc.h"
#include "svgimport/style_source.h"

namespace SVG {

// Makes the presentation attributes of the reader's property name table
// (fill="red", stroke-width="2", ...) count in the CSS manager's cascade,
// below every sheet rule and the `style` attribute. Call it before the
// first style is computed.
void AddPresentationAttributes(markup::style::CSSManager& css);

class WVisualStyleSource : public WStyleSource {
  public:
    // The visual document must outlive the source.
    explicit WVisualStyleSource(markup::style::WDOMVisualDoc_WerImp& visual) : visual_(visual) {}
    bool GetStyle(const markup::WDOMHandle& element, WComputedStyle* style) override;
    void Release(const markup::WDOMHandle& element) override;

  private:
    markup::style::WDOMVisualDoc_WerImp& visual_;
};

}  // namespace SVG

#endif  // SVGIMPORT_VISUAL_STYLES_H
