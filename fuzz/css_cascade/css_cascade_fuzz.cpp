// The cascade on arbitrary bytes: the input, cut at the first byte 1, is a
// style sheet and then a "style" attribute (and a "fill" presentation
// attribute) of an element whose record the cascade fills, under a parent
// whose record it inherits. Never a crash, a leak or a read past a text;
// every getter answers, and the paints answer one of their three forms.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "markup/attr_element.h"
#include "markup/doc_tree.h"
#include "markup/pane_doc.h"
#include "markup/parser/dictionary.h"
#include "markup/style/css_manager.h"
#include "markup/style/graphics_imp.h"
#include "markup/style/style_properties.h"

#include "css_dictionary.h"

using namespace markup::style;

namespace {

using fuzz_support::Css;

// rect (188) takes id 1, class 2, style 3 and fill 4.
markup::Dictionary& Markup() {
    static markup::Dictionary* d = [] {
        auto* dictionary = new markup::Dictionary();
        dictionary->CreateEditor();
        auto def = std::make_unique<markup::ElementDef>();
        def->SetId(188);
        def->SetName("rect");
        for (std::uint32_t a = 1; a <= 4; ++a) def->AddAttribute(a);
        dictionary->Elements().Insert(std::move(def));
        const char* names[] = {"id", "class", "style", "fill"};
        for (std::uint32_t a = 1; a <= 4; ++a) {
            auto attribute = std::make_unique<markup::HTMLAttributeDef>();
            attribute->SetId(a);
            attribute->SetName(names[a - 1]);
            dictionary->Attributes().Insert(std::move(attribute));
        }
        return dictionary;
    }();
    return *d;
}

class Factory : public markup::WebElementFactory {
  public:
    markup::DocElement* Create(markup::DictionaryBase*, std::uint32_t, const markup::String*, int) override {
        return nullptr;
    }
};

markup::AttrElement* Element(const char* id, const char* cls) {
    auto* element = new markup::AttrElement();
    element->SetTypeId(188);
    for (std::uint32_t a = 1; a <= 2; ++a) {
        auto attribute = std::make_unique<markup::Attribute>(a);
        attribute->value = a == 1 ? id : cls;
        element->AddAttribute(std::move(attribute));
    }
    return element;
}

void Read(StyleProperties& s) {
    markup::DocTree* document = nullptr;
    markup::Node* node = nullptr;
    std::uint32_t colour = 0;
    const std::int32_t fill = s.GetFill(document, node, colour);
    const std::int32_t stroke = s.GetStroke(document, node, colour);
    for (std::int32_t paint : {fill, stroke}) {
        if (paint != kStylePaintURL && paint != kStylePaintColour && paint != kStylePaintNone) __builtin_trap();
    }
    std::int32_t unit = 0;
    double value = 0;
    s.GetStrokeWidth(unit);
    for (std::uint32_t i = 0; s.GetDash(i, value, unit); ++i) {
    }
    for (std::uint32_t id = 0; id < 120; ++id) s.GetKeyword(id);
    s.GetClipPath(node);
    s.GetFont();
    s.EmExtent();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const void* cut = std::memchr(bytes, 1, size);
    const std::size_t split = cut ? static_cast<std::size_t>(static_cast<const char*>(cut) - bytes) : size;
    markup::String sheet;
    sheet.Append(bytes, static_cast<std::uint32_t>(split));
    markup::String attribute;
    if (split < size) attribute.Append(bytes + split + 1, static_cast<std::uint32_t>(size - split - 1));

    platform::FixedFontBackend backend;
    GraphicsImp graphics(backend);
    CSSManager manager(Css());
    manager.AddPresentationAttribute("fill");
    Factory factory;
    markup::DocTree tree(&factory, &manager);
    tree.SetDictionary(&Markup());
    markup::BasePaneDoc pane;
    pane.SetTree(&tree);
    markup::AttrElement* parent = Element("p", "a");
    tree.AppendChild(parent);
    markup::AttrElement* child = Element("x", "a b");
    for (std::uint32_t a = 3; a <= 4; ++a) {
        auto extra = std::make_unique<markup::Attribute>(a);
        extra->value = attribute;
        child->AddAttribute(std::move(extra));
    }
    parent->AppendChild(child);
    manager.AddStyleText(sheet, 0);

    StyleProperties parentStyle;
    parentStyle.SetPaneDocument(&pane);
    manager.ApplyCascade(parent, &parentStyle);
    StyleProperties childStyle;
    childStyle.SetPaneDocument(&pane);
    childStyle.InheritFrom(parentStyle);
    manager.ApplyCascade(child, &childStyle);
    Read(parentStyle);
    Read(childStyle);
    return 0;
}
