// The reader's styles from the style engine: each element's computed
// StyleProperties record, as the visual document gives it, read into the
// values the reader asks for.
#ifndef SVGIMPORT_VISUAL_STYLES_H
#define SVGIMPORT_VISUAL_STYLES_H

#include <memory>
#include <unordered_map>
#include <vector>

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
    explicit WVisualStyleSource(markup::style::WDOMVisualDoc_WerImp& visual);
    ~WVisualStyleSource() override;
    bool GetStyle(const markup::WDOMHandle& element, WComputedStyle* style) override;
    void Release(const markup::WDOMHandle& element) override;
    void BeginInstance(const markup::WDOMHandle& use, const markup::WDOMHandle& target) override;
    void EndInstance() override;

  private:
    struct Instance;
    // The element's record where it is drawn: in the innermost instance
    // that holds it, else the visual document's.
    markup::style::StyleProperties* RecordOf(const markup::WDOMHandle& element);
    // The record's values as the reader takes them; false for none.
    static bool Read(markup::style::StyleProperties* style, WComputedStyle* out);
    // The innermost instance whose content holds the element; null for none.
    Instance* InstanceHolding(const markup::WDOMHandle& element);
    markup::style::StyleProperties* InstanceRecord(Instance& instance, const markup::WDOMHandle& element,
                                                   int depth);

    markup::style::WDOMVisualDoc_WerImp& visual_;
    // Null for an instance drawn as its content is defined.
    std::vector<std::unique_ptr<Instance>> instances_;
    // Each open instance's target, with its place in `instances_`.
    std::unordered_map<const void*, size_t> targets_;
    // Uses drawn where they stand: whether their instance draws as defined.
    std::unordered_map<const void*, bool> asDefined_;
};

}  // namespace SVG

#endif  // SVGIMPORT_VISUAL_STYLES_H
