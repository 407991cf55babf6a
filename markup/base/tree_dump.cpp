// The text form of a document tree; its format is described with the
// declarations.
#include "markup/tree_dump.h"

#include <cstdint>
#include <typeinfo>

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
    int n = 8;
    do {
        text[--n] = kHexDigits[value & 0xF];
        value >>= 4;
    } while (value != 0 || 8 - n < digits);
    out.append(text + n, static_cast<std::size_t>(8 - n));
}

void AppendDecimal(std::string& out, std::uint32_t value) {
    char text[10];
    int n = 10;
    do {
        text[--n] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    out.append(text + n, static_cast<std::size_t>(10 - n));
}

// The bytes that stand for themselves between the quotes.
struct PlainBytes {
    bool plain[256] = {};
    constexpr PlainBytes() {
        for (int c = 0x20; c < 0x7F; ++c) plain[c] = c != '\\' && c != '"';
    }
};
constexpr PlainBytes kPlain;

void AppendQuoted(std::string& out, const String& text) {
    out += '"';
    const char* p = text.Text();
    const std::uint32_t length = text.Length();
    std::uint32_t i = 0;
    while (i < length) {
        // A run of bytes that stand for themselves goes in one piece.
        std::uint32_t end = i;
        while (end < length && kPlain.plain[static_cast<unsigned char>(p[end])]) ++end;
        out.append(p + i, end - i);
        if (end == length) break;
        const auto c = static_cast<unsigned char>(p[end]);
        char escape[4] = {'\\', 0, 0, 0};
        std::size_t n = 2;
        switch (c) {
            case '\\':
                escape[1] = '\\';
                break;
            case '"':
                escape[1] = '"';
                break;
            case '\n':
                escape[1] = 'n';
                break;
            case '\r':
                escape[1] = 'r';
                break;
            case '\t':
                escape[1] = 't';
                break;
            default:
                escape[1] = 'x';
                escape[2] = kHexDigits[c >> 4];
                escape[3] = kHexDigits[c & 0xF];
                n = 4;
        }
        out.append(escape, n);
        i = end + 1;
    }
    out += '"';
}

void AppendField(std::string& out, const char* label, std::size_t labelLength, const String& text) {
    if (text.IsEmpty()) return;
    out += ' ';
    out.append(label, labelLength);
    out += '=';
    AppendQuoted(out, text);
}

// The dictionary's names by id, each looked up once a walk: a dump asks for
// the same few names at every node and attribute. Direct-mapped: a clash
// only looks the name up again.
class NameCache {
  public:
    explicit NameCache(const DictionaryBase* dictionary) : dictionary_(dictionary) {}

    // DocElement::GetName, valid until the next call; null where it raises.
    const String* ElementName(const DocElement& element) {
        Slot& slot = elements_[SlotOf(element.TypeId())];
        if (!slot.used || slot.id != element.TypeId()) {
            slot.used = true;
            slot.id = element.TypeId();
            slot.named = dictionary_ && dictionary_->ElementNameById(slot.id, slot.name);
        }
        if (slot.named) return &slot.name;
        try {
            other_ = element.GetName(dictionary_);
        } catch (const InvalidArgumentFault&) {
            return nullptr;
        }
        return &other_;
    }

    // Attribute::GetName.
    const String& AttributeName(const Attribute& attribute) {
        if (!attribute.name.IsEmpty()) return attribute.name.Get();
        Slot& slot = attributes_[SlotOf(attribute.id)];
        if (!slot.used || slot.id != attribute.id) {
            slot.used = true;
            slot.id = attribute.id;
            slot.named = dictionary_ && dictionary_->AttributeNameById(attribute.id, slot.name);
            if (!slot.named) slot.name.Empty();
        }
        return slot.name;
    }

  private:
    struct Slot {
        std::uint32_t id = 0;
        bool used = false;
        bool named = false;
        String name;
    };
    static constexpr std::size_t kSlots = 256;
    static std::size_t SlotOf(std::uint32_t id) { return (id * 2654435761u) >> 24; }

    const DictionaryBase* dictionary_;
    String other_;
    Slot elements_[kSlots];
    Slot attributes_[kSlots];
};

const char* KindOf(const DocElement& element) {
    // Elements first: most nodes are, and the question is a virtual call;
    // then plain runs by their exact class, before the casts.
    if (AsAttrElement(&element)) return "element";
    if (typeid(element) == typeid(RunElement)) return "run";
    if (dynamic_cast<const EntityElement*>(&element)) return "entity";
    if (dynamic_cast<const RunElement*>(&element)) return "run";
    return "doc";
}

void AppendAttributes(std::string& out, const AttrElement& element, std::size_t indent, NameCache& names) {
    const AttributeList& attributes = element.Attributes();
    for (std::uint32_t i = 0; i < attributes.Count(); ++i) {
        out.append(indent, ' ');
        const Attribute* attribute = attributes.At(i);
        if (!attribute) {
            out += "@null\n";
            continue;
        }
        out += "@0x";
        AppendHex(out, attribute->id, 8);
        AppendField(out, "name", 4, names.AttributeName(*attribute));
        out += " value=";
        AppendQuoted(out, attribute->value);
        if (attribute->valueCode) {
            out += " code=";
            AppendDecimal(out, attribute->valueCode);
        }
        if (!attribute->specified) out += " unspecified";
        out += '\n';
    }
}

void AppendNode(std::string& out, const Node& node, std::size_t depth, NameCache& names) {
    const std::size_t indent = depth * 2;
    out.append(indent, ' ');
    const auto* element = DocElement::Of(&node);
    if (!element) {
        out += "node\n";
        return;
    }
    out += KindOf(*element);
    out += ' ';
    AppendDecimal(out, element->TypeId());
    // An id that nothing names: the line shows the id alone.
    if (const String* name = names.ElementName(*element)) AppendField(out, "name", 4, *name);
    AppendField(out, "text", 4, element->Text());
    if (element->Flags()) {
        out += " flags=0x";
        AppendHex(out, element->Flags(), 1);
    }
    if (element->DeclaredEmpty()) out += " empty";
    if (element->Extra()) out += " extra";
    out += '\n';
    if (const AttrElement* attributes = AsAttrElement(element)) {
        AppendAttributes(out, *attributes, indent + 2, names);
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
    NameCache names(dictionary);
    while (node) {
        AppendNode(out, *node, depth < maxIndent ? depth : maxIndent, names);
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
