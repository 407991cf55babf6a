// The style mapper's HTML presentation on trees and attribute texts made
// from arbitrary bytes, and the class-id reader of embedded objects.
//
// Input: a style mode byte, then records of a kind byte, a depth byte (how
// many levels to climb before the node is added), an attribute count and,
// per attribute, an id byte (an index into the ids the presentation reads),
// a value-code byte, a length byte and that many bytes of value. Every
// node is styled, the last first; every record must stay consistent.
// Never a crash, a leak or unbounded recursion.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "markup/attr_element.h"
#include "markup/doc_tree.h"
#include "markup/style/activex_controls.h"
#include "markup/style/graphics_imp.h"
#include "markup/style/style_map.h"
#include "markup/style/visual_doc.h"
#include "markup/text_elements.h"
#include "platform/embedded_controls.h"
#include "platform/font_backend.h"

namespace {

constexpr std::uint32_t kAttributes[] = {5,   11,  14,  16,  17,  18,  19,  22,  23,  28,  32,      38,
                                         39,  64,  67,  78,  79,  80,  96,  110, 116, 143,     154,
                                         157, 159, 165, 170, 175, 176, 183, 34,  0x480051, 0x4800B6,
                                         0x19005E,    0x1900A9,    0x67001F};

constexpr std::uint32_t kKinds[] = {1,   6,   13,  17,  24,  25,  40,  50,  55,  59,  64,  67,  72,  73,
                                    85,  90,  103, 105, 106, 109, 112, 113, 121, 122, 135, 136, 139, 140,
                                    141, 143, 146, 153, 160, 163, 165, 166, 168, 171, 172, 181, 183, 200};

class Settings : public markup::style::VisualSettings {
  public:
    explicit Settings(std::uint32_t mode) : mode_(mode) {}
    std::uint32_t StyleMode() const override { return mode_; }
    bool ObjectPlaceholders() const override { return mode_ == 1; }

  private:
    std::uint32_t mode_;
};

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    bool More() const { return at < size; }
    std::uint8_t Byte() { return at < size ? data[at++] : 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static platform::FixedFontBackend backend;
    static markup::style::GraphicsImp graphics(backend);
    Reader in{data, size};
    Settings settings(in.Byte() % 3);
    markup::style::VisualContainer container(&settings);
    markup::DocTree tree(nullptr, nullptr);
    auto* document = new markup::AttrElement;
    document->SetTypeId(markup::kKindDocument);
    tree.AppendChild(document);
    std::vector<markup::Node*> nodes{document};
    markup::Node* open = document;
    while (in.More() && nodes.size() < 400) {
        const std::uint8_t kindByte = in.Byte();
        const std::uint32_t kind = kindByte < 2 * std::size(kKinds) ? kKinds[kindByte % std::size(kKinds)] : kindByte;
        for (std::uint8_t climb = in.Byte() % 4; climb && open->Parent(); --climb) open = open->Parent();
        markup::DocElement* node;
        if (kind >= 160 && kind <= 165) {
            node = new markup::RunElement;
        } else {
            node = new markup::AttrElement;
        }
        node->SetTypeId(kind);
        const std::uint8_t count = in.Byte() % 6;
        for (std::uint8_t i = 0; i < count; ++i) {
            auto attribute = std::make_unique<markup::Attribute>(kAttributes[in.Byte() % std::size(kAttributes)]);
            attribute->valueCode = in.Byte();
            const std::uint8_t length = in.Byte() % 48;
            for (std::uint8_t j = 0; j < length && in.More(); ++j) attribute->value += static_cast<char>(in.Byte());
            if (auto* element = markup::AsAttrElement(node)) {
                element->AddAttribute(std::move(attribute));
            }
        }
        if (auto* run = dynamic_cast<markup::RunElement*>(node)) run->SetText(nullptr, "text");
        open->AppendChild(node);
        nodes.push_back(node);
        if (!dynamic_cast<markup::RunElement*>(node)) open = node;
    }
    {
        markup::style::StyleMapImp mapper(&tree, nullptr, &container);
        for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
            markup::style::StyleProperties* style = nullptr;
            if (!mapper.GetStyle(*it, style)) __builtin_trap();
            if (style) {
                markup::String text;
                style->GetSecondString(text);
                std::int32_t unit = 0;
                style->GetIntLength(46, unit);
                if (unit < 0 || unit > 3) __builtin_trap();
            }
            if (const auto* element = markup::AsAttrElement(*it)) {
                std::int32_t width = 0, height = 0;
                markup::style::ControlNaturalSize(*element, width, height);
            }
        }
        mapper.ClearCache(document);
        for (markup::Node* node : nodes) {
            auto* element = dynamic_cast<markup::DocElement*>(node);
            if (element && element->Extra()) __builtin_trap();
        }
    }
    platform::ClassId id;
    platform::ClassIdFromString(std::string_view(reinterpret_cast<const char*>(data), size), id);
    return 0;
}
