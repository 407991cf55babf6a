// The text form of a document tree; its format is described with the
// declarations.
#include "markup/tree_dump.h"

#include <cstdint>

#include "markup/attr_element.h"
#include "markup/faults.h"
#include "markup/text_elements.h"

namespace markup {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Upper-case hex of the value, at least `digits` digits: a dump writes one
// or more a node, and printf's formatting took a good part of its time.
void AppendHex(std::string& out, std::uint32_t value, int digits) {
    char text[8];
    int n = 0;
    do {
        text[n++] = kHexDigits[value & 0xF];
        value >>= 4;
    } while (value != 0 || n < digits);
    while (n > 0) out += text[--n];
}

bool IsPlain(unsigned char c) {
    return c >= 0x20 && c < 0x7F && c != '\\' && c != '"';
}

void AppendQuoted(std::string& out, const String& text) {
    out += '"';
    const char* p = text.Text();
    const std::uint32_t length = text.Length();
    std::uint32_t i = 0;
    while (i < length) {
        // A run of bytes that stand for themselves goes in one piece.
        std::uint32_t end = i;
        while (end < length && IsPlain(static_cast<unsigned char>(p[end]))) ++end;
        out.append(p + i, end - i);
        if (end == length) break;
        const auto c = static_cast<unsigned char>(p[end]);
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\x";
                AppendHex(out, c, 2);
        }
        i = end + 1;
    }
    out += '"';
}

void AppendField(std::string& out, const char* label, const String& text) {
    if (text.IsEmpty()) return;
    out += ' ';
    out += label;
    out += '=';
    AppendQuoted(out, text);
}

const char* KindOf(const DocElement& element) {
    if (dynamic_cast<const EntityElement*>(&element)) return "entity";
    if (dynamic_cast<const RunElement*>(&element)) return "run";
    if (AsAttrElement(&element)) return "element";
    return "doc";
}

void AppendAttributes(std::string& out, const AttrElement& element, const std::string& indent,
                      const DictionaryBase* dictionary) {
    const AttributeList& attributes = element.Attributes();
    for (std::uint32_t i = 0; i < attributes.Count(); ++i) {
        out += indent;
        const Attribute* attribute = attributes.At(i);
        if (!attribute) {
            out += "@null\n";
            continue;
        }
        out += "@0x";
        AppendHex(out, attribute->id, 8);
        AppendField(out, "name", attribute->GetName(dictionary));
        out += " value=";
        AppendQuoted(out, attribute->value);
        if (attribute->valueCode) out += " code=" + std::to_string(attribute->valueCode);
        if (!attribute->specified) out += " unspecified";
        out += '\n';
    }
}

void AppendNode(std::string& out, const Node& node, std::size_t depth, const DictionaryBase* dictionary) {
    const std::string indent(depth * 2, ' ');
    out += indent;
    const auto* element = DocElement::Of(&node);
    if (!element) {
        out += "node\n";
        return;
    }
    out += KindOf(*element);
    out += ' ';
    out += std::to_string(element->TypeId());
    String name;
    try {
        name = element->GetName(dictionary);
    } catch (const InvalidArgumentFault&) {
        // An id that nothing names: the line shows the id alone.
    }
    AppendField(out, "name", name);
    AppendField(out, "text", element->Text());
    if (element->Flags()) {
        out += " flags=0x";
        AppendHex(out, element->Flags(), 1);
    }
    if (element->DeclaredEmpty()) out += " empty";
    if (element->Extra()) out += " extra";
    out += '\n';
    if (const AttrElement* attributes = AsAttrElement(element)) {
        AppendAttributes(out, *attributes, indent + "  ", dictionary);
    }
}

// Every node from `top` on in document order, stopping after the subtree of
// `top` unless `siblingsToo`; no recursion, so any depth dumps.
// `flush`, when given, takes the text whenever it has grown past a piece,
// so that a dump is written as it is made rather than held whole.
void AppendWalk(std::string& out, const Node& top, bool siblingsToo, const DictionaryBase* dictionary,
                std::size_t maxIndent = static_cast<std::size_t>(-1),
                const std::function<void(std::string_view)>* flush = nullptr) {
    constexpr std::size_t kPiece = std::size_t{1} << 16;
    const Node* node = &top;
    std::size_t depth = 0;
    while (node) {
        AppendNode(out, *node, depth < maxIndent ? depth : maxIndent, dictionary);
        if (flush && out.size() >= kPiece) {
            (*flush)(out);
            out.clear();
        }
        if (node->FirstChild()) {
            node = node->FirstChild();
            ++depth;
            continue;
        }
        while (depth > 0 && !node->NextSibling()) {
            node = node->Parent();
            --depth;
        }
        if (depth == 0 && !siblingsToo) break;
        node = node->NextSibling();
    }
}

}  // namespace

std::string DumpTree(const NodeTree& tree, const DictionaryBase* dictionary) {
    std::string out;
    const Node* top = tree.Root();
    if (!top) return out;
    while (top->PreviousSibling()) top = top->PreviousSibling();
    AppendWalk(out, *top, true, dictionary);
    return out;
}

std::string DumpTree(const DocTree& tree) {
    return DumpTree(tree, tree.Dictionary());
}

std::string DumpTree(const DocTree& tree, std::size_t maxIndent) {
    std::string out;
    const Node* top = tree.Root();
    if (!top) return out;
    while (top->PreviousSibling()) top = top->PreviousSibling();
    AppendWalk(out, *top, true, tree.Dictionary(), maxIndent);
    return out;
}

void WriteTree(const DocTree& tree, std::size_t maxIndent, const std::function<void(std::string_view)>& write) {
    const Node* top = tree.Root();
    if (!top) return;
    while (top->PreviousSibling()) top = top->PreviousSibling();
    std::string out;
    AppendWalk(out, *top, true, tree.Dictionary(), maxIndent, &write);
    if (!out.empty()) write(out);
}

std::string DumpSubtree(const Node& node, const DictionaryBase* dictionary) {
    std::string out;
    AppendWalk(out, node, false, dictionary);
    return out;
}

std::string QuoteForDump(const String& text) {
    std::string out;
    AppendQuoted(out, text);
    return out;
}

}  // namespace markup
