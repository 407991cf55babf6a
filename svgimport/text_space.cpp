// xml:space: finding it on the element's ancestors, and the spaces it
// leaves in a text.
#include "text_space.h"

#include "markup/attr_element.h"
#include "markup/doc_tree.h"
#include "markup/parser/dom/dom_element.h"
#include "byte_runs.h"
#include "reader_detail.h"

namespace SVG::detail {

namespace {

// The element's own xml:space, when it has one.
const markup::String* OwnSpace(const markup::AttrElement& element, const markup::DictionaryBase* dictionary) {
    const markup::AttributeList& all = element.Attributes();
    for (uint32_t i = 0; i < all.Count(); ++i) {
        const markup::Attribute* attribute = all.At(i);
        if (attribute == nullptr) continue;
        const markup::String name = attribute->GetName(dictionary);
        if (std::string_view(name.Text(), name.Length()) == "xml:space") return &attribute->value;
    }
    return nullptr;
}

bool IsPreserve(std::string_view value) {
    return value == "preserve";
}

}  // namespace

bool PreservesSpace(const markup::WDOMHandle& element) {
    const auto* own = dynamic_cast<const markup::WDOMElement_WepImp*>(element.Get());
    if (own == nullptr) {
        // Another DOM: the element's own attribute alone.
        const Attributes attributes(element);
        const std::string* value = attributes.FindName("xml:space");
        return value != nullptr && IsPreserve(*value);
    }
    const markup::DictionaryBase* dictionary = own->GetTree() ? own->GetTree()->Dictionary() : nullptr;
    int depth = 0;
    for (const markup::Node* node = own->GetNode(); node != nullptr && depth <= WParser::kMaxDepth;
         node = node->Parent(), ++depth) {
        const markup::AttrElement* attributed = markup::AsAttrElement(node);
        if (attributed == nullptr) continue;
        if (const markup::String* value = OwnSpace(*attributed, dictionary))
            return IsPreserve(std::string_view(value->Text(), value->Length()));
    }
    return false;
}

void ArrangeSpaces(std::vector<SpacedText>& stretches) {
    // At the start of the text a space is dropped as after another space.
    bool afterSpace = true;
    for (SpacedText& stretch : stretches) {
        const std::string& in = stretch.text;
        std::string out;
        out.reserve(in.size());
        for (size_t i = 0; i < in.size(); ++i) {
            // Bytes above the space stand as they are, whatever the mode.
            if (const size_t plain = PrintableRun(in.data() + i, in.size() - i); plain > 0) {
                out.append(in, i, plain);
                afterSpace = false;
                i += plain - 1;
                continue;
            }
            char c = in[i];
            if (stretch.preserve) {
                if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n') ++i;
                if (c == '\r' || c == '\n' || c == '\t') c = ' ';
                out += c;
                afterSpace = c == ' ';
                continue;
            }
            if (c == '\n' || c == '\r') continue;
            if (c == '\t') c = ' ';
            if (c == ' ' && afterSpace) continue;
            out += c;
            afterSpace = c == ' ';
        }
        stretch.text = std::move(out);
    }
    // The spaces that end the text, as far back as "default" reaches.
    for (auto it = stretches.rbegin(); it != stretches.rend() && !it->preserve; ++it) {
        while (!it->text.empty() && it->text.back() == ' ') it->text.pop_back();
        if (!it->text.empty()) break;
    }
}

}  // namespace SVG::detail
