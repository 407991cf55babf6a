// DocElement: cloning and copying, text parts, the content tests, the type
// searches and node names.
#include "markup/doc_element.h"

#include <memory>

#include "markup/faults.h"

namespace markup {

namespace {

// Kinds that never count as significant content of their parent.
bool IsNeverSignificant(std::uint32_t id) {
    switch (id) {
        case 139:
        case 140:
        case 150:
        case kKindPlaceholder:
        case kKindText:
        case kKindWhitespace:
        case kKindSignificantText:
            return true;
        default:
            return false;
    }
}

// Dictionary group classes the significance test asks about.
constexpr std::uint32_t kGroupAlwaysSignificant1 = 6;
constexpr std::uint32_t kGroupAlwaysSignificant2 = 7;
constexpr std::uint32_t kGroupSignificantWhenEmpty = 8;

// One family for the type searches: a search for the first finds both.
constexpr std::uint32_t kCellFamily = 141;
constexpr std::uint32_t kCellFamilyMember = 146;

bool TypeMatches(const DocElement& node, std::uint32_t wanted) {
    const std::uint32_t id = node.TypeId();
    return id == wanted || (wanted == kCellFamily && id == kCellFamilyMember);
}

// Host strings naming the text kinds 160 to 164 and the document node.
constexpr unsigned kFirstTextKindName = 10000;
constexpr unsigned kDocumentName = 10005;

bool TextHasContent(const String& text) {
    return !text.IsEmpty() && !IsLoneNoBreakSpace(text);
}

}  // namespace

void DocElement::AppendText(const String& more) {
    const std::uint64_t need = static_cast<std::uint64_t>(text_.Length()) + more.Length() + 1;
    if (need > text_.Capacity()) {
        const std::uint64_t grown = static_cast<std::uint64_t>(text_.Capacity()) * 3 / 2;
        const std::uint64_t capacity = grown > need ? grown : need;
        if (capacity > 0xFFFFFFFFu) throw MemoryAllocationFault();
        text_.Reserve(static_cast<std::uint32_t>(capacity));
    }
    text_ += more;
}

bool IsLoneNoBreakSpace(const String& text) {
    return text.Length() == 1 && static_cast<unsigned char>(*text.Text()) == 0xA0;
}

DocElement::~DocElement() = default;

DocElement* DocElement::Clone() const {
    return CloneAs<DocElement>();
}

void DocElement::CopyTypeTo(DocElement& clone) const {
    clone.typeId_ = typeId_;
    clone.declaredEmpty_ = declaredEmpty_;
    clone.CopyFrom(this);
}

int DocElement::SetText(const DictionaryBase*, const String& text) {
    text_ = text;
    return 0;
}

void DocElement::CopyFrom(const DocElement* other) {
    if (!other || other->typeId_ != typeId_) throw InvalidArgumentFault();
    text_ = other->text_;
}

DocElement* DocElement::CloneWithText(const DictionaryBase* dictionary, const String& text) const {
    std::unique_ptr<DocElement> clone(Clone());
    if (clone) clone->SetText(dictionary, text);
    return clone.release();
}

DocElement* DocElement::TextLeft(const DictionaryBase* dictionary, std::uint32_t count) const {
    return CloneWithText(dictionary, text_.Left(count));
}

DocElement* DocElement::TextRight(const DictionaryBase* dictionary, std::uint32_t index) const {
    const std::uint32_t length = text_.Length();
    return CloneWithText(dictionary, index < length ? text_.Right(length - index) : String());
}

DocElement* DocElement::TextMid(const DictionaryBase* dictionary, std::uint32_t start,
                                std::uint32_t end) const {
    // A reversed range would wrap to a huge count and give the whole tail.
    return CloneWithText(dictionary, start < end ? text_.Mid(start, end - start) : String());
}

bool DocElement::IsSignificant(const DictionaryBase* dictionary) const {
    if (IsNeverSignificant(typeId_)) return false;
    if (!dictionary) return true;
    if (dictionary->GroupContains(typeId_, kGroupAlwaysSignificant1) ||
        dictionary->GroupContains(typeId_, kGroupAlwaysSignificant2)) {
        return true;
    }
    if (!dictionary->GroupContains(typeId_, kGroupSignificantWhenEmpty)) return true;
    bool empty = false;
    return dictionary->ElementIsEmpty(typeId_, empty) && empty;
}

bool DocElement::HasContent(const DictionaryBase* dictionary) const {
    if (typeId_ == kKindText || typeId_ == kKindSignificantText) return TextHasContent(text_);
    if (typeId_ == kKindWhitespace) return false;
    // A node has content when some child is significant or has content
    // itself. The walk goes down the subtree without recursion, so a deeply
    // nested document cannot exhaust the stack; text kinds end a descent.
    const Node* node = FirstChild();
    while (node) {
        const auto* element = DocElement::Of(node);
        bool descend = false;
        if (element) {
            if (element->IsSignificant(dictionary)) return true;
            const std::uint32_t id = element->typeId_;
            if (id == kKindText || id == kKindSignificantText) {
                if (TextHasContent(element->text_)) return true;
            } else if (id != kKindWhitespace) {
                descend = true;
            }
        }
        if (descend && node->FirstChild()) {
            node = node->FirstChild();
            continue;
        }
        while (node != this && !node->NextSibling()) node = node->Parent();
        node = node == this ? nullptr : node->NextSibling();
    }
    return false;
}

std::uint32_t DocElement::TypeOf(const Node* node) {
    const auto* element = DocElement::Of(node);
    return element ? element->GetType() : 0;
}

DocElement* DocElement::FindAncestorOfType(std::uint32_t id) {
    for (Node* node = this; node; node = node->Parent()) {
        auto* element = DocElement::Of(node);
        if (element && TypeMatches(*element, id)) return element;
    }
    return nullptr;
}

DocElement* DocElement::FindNextSiblingOfType(std::uint32_t id) const {
    for (Node* node = NextSibling(); node; node = node->NextSibling()) {
        auto* element = DocElement::Of(node);
        if (element && TypeMatches(*element, id)) return element;
    }
    return nullptr;
}

DocElement* DocElement::FindPreviousSiblingOfType(std::uint32_t id) const {
    for (Node* node = PreviousSibling(); node; node = node->PreviousSibling()) {
        auto* element = DocElement::Of(node);
        if (element && TypeMatches(*element, id)) return element;
    }
    return nullptr;
}

String DocElement::GetName(const DictionaryBase* dictionary) const {
    String name;
    if (dictionary && dictionary->ElementNameById(typeId_, name)) return name;
    switch (typeId_) {
        case 0:
        case kKindDeclaration:
        case kKindMarkupDeclaration:
        case 168:
        case 170:
        case kKindInvalidElement:
        case kKindStrayEndTag:
            return text_;
        case kKindCData:
            return String("[CData[");
        case kKindEntityReference:
            return TextRef();
        case kKindText:
        case 161:
        case 162:
        case kKindWhitespace:
        case kKindSignificantText:
            name.LoadString(kFirstTextKindName + (typeId_ - kKindText));
            return name;
        case kKindDocument:
            name.LoadString(kDocumentName);
            return name;
        default:
            throw InvalidArgumentFault();
    }
}

}  // namespace markup
