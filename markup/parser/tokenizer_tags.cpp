// Tokenizer: start and end tags, their attributes, and the names they look
// up (and learn) in the dictionary.
#include <memory>
#include <utility>

#include "markup/attr_element.h"
#include "markup/faults.h"
#include "markup/parser/attribute_values.h"
#include "markup/parser/dictionary_registry.h"
#include "markup/parser/tokenizer.h"
#include "markup_characters.h"

namespace markup {

using detail::IsNameChar;
using detail::IsSpace;
using detail::IsSpaceOrNbsp;
using detail::IsTagNameChar;

namespace {

// Learned ids stay within the 16 bits an attribute id packs its element's
// id and its own into.
constexpr std::uint32_t kLargestLearnedId = 0xFFFF;

}  // namespace

void Tokenizer::ScanTokenStart(unsigned char c) {
    if (c != '<') {
        PushBack(c);
        if (c == '&') {
            state_ = kStateEntity;
        } else if (IsSpaceOrNbsp(c)) {
            state_ = kStateWhitespace;
        } else {
            state_ = kStateText;
        }
        return;
    }
    selfClosing_ = 0;
    c = ReadChar();
    const bool endTag = c == '/';
    switch (c) {
        case '/':
            text_ += '/';
            state_ = kStateEndTag;
            token_->isStartTag = 0;
            c = ReadChar();
            break;
        case '!':
            text_ += "<!";
            state_ = kStateDeclaration;
            return;
        case '?':
            text_ += "<?";
            state_ = kStateInstruction;
            return;
        case '%':
            text_ += '%';
            state_ = kStateServerBlock;
            return;
        default:
            break;
    }
    while (IsSpace(c)) {
        text_ += static_cast<char>(c);
        c = ReadChar();
    }
    // A prefixed name is identified by its prefix; the name keeps it all.
    std::string lookup;
    while (IsTagNameChar(c) && c != ':') {
        lookup += static_cast<char>(c);
        c = ReadChar();
    }
    text_ += lookup;
    std::string written = lookup;
    if (!endTag && !lookup.empty()) elementSeen_ = true;
    const std::uint32_t typeId = lookup.empty() ? 0 : ElementId(lookup);
    if (c == ':') {
        std::string rest(1, ':');
        c = ReadChar();
        while (IsTagNameChar(c)) {
            rest += static_cast<char>(c);
            c = ReadChar();
        }
        text_ += rest;
        written += rest;
    }
    PushBack(c);
    nameEnd_ = static_cast<std::uint32_t>(text_.size());
    token_->name.Empty();
    token_->name.Append(written.data(), static_cast<std::uint32_t>(written.size()));
    token_->typeId = typeId;
    if (endTag) return;  // the rest of an end tag follows in its own state
    state_ = kStateAttributeList;
    token_->node = MakeNode(typeId, token_->name);
}

Tokenizer::FoundName* Tokenizer::FoundPlaces(std::uint32_t elementId, const std::string& name) {
    // FNV-1a over the element id and the name.
    std::uint32_t hash = 2166136261u ^ elementId;
    hash *= 16777619u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return &foundIds_[(hash ^ (hash >> 16)) % (kFoundSlots / 2) * 2];
}

void Tokenizer::ForgetFoundIds() {
    for (FoundName& slot : foundIds_) slot.used = false;
    foundIn_ = nullptr;
}

bool Tokenizer::KnownId(std::uint32_t elementId, const std::string& name, std::uint32_t& id) {
    if (foundIn_ != GetDictionary()) {
        ForgetFoundIds();
        foundIn_ = GetDictionary();
        return false;
    }
    FoundName* places = FoundPlaces(elementId, name);
    for (int way = 0; way < 2; ++way) {
        const FoundName& slot = places[way];
        if (!slot.used || slot.elementId != elementId || slot.name != name) continue;
        id = slot.id;
        if (way == 1) std::swap(places[0], places[1]);
        return true;
    }
    return false;
}

void Tokenizer::RememberId(std::uint32_t elementId, const std::string& name, std::uint32_t id) {
    FoundName* places = FoundPlaces(elementId, name);
    std::swap(places[0], places[1]);  // the older of the two goes
    FoundName& slot = places[0];
    slot.elementId = elementId;
    slot.id = id;
    slot.name = name;
    slot.used = true;
}

std::uint32_t Tokenizer::ElementId(const std::string& lookup) {
    Dictionary* dictionary = GetDictionary();
    if (!dictionary) return 0;
    std::uint32_t id = 0;
    if (KnownId(kNoElement, lookup, id)) return id;
    const String& name = Reused(nameScratch_, lookup);
    if (dictionary->ElementIdByName(name, id) == kDict_Ok) {
        RememberId(kNoElement, lookup, id);
        return id;
    }
    if (!xmlMode_ || !dictionary->IsOpen() || !editor_) return 0;
    // An open dictionary learns the element.
    id = editor_->NewElementId();
    if (id == 0 || id > kLargestLearnedId) {
        DiagnoseDictionaryFull();
        return 0;
    }
    auto element = std::make_unique<ElementDef>();
    element->SetId(id);
    element->SetName(dictionary->LookupName(name));
    dictionary->Elements().Insert(std::move(element));
    editor_->SetModified();
    return id;
}

void Tokenizer::ScanEndTag(unsigned char c) {
    if (TakeWhile(c, text_, [this](unsigned char k) { return k != '>' && !Ended(); }) != '>') {
        NoteUnterminated("an end tag");
    }
    tokenReady_ = true;
    state_ = kStateTokenStart;
}

void Tokenizer::ScanAttributeList(unsigned char c) {
    if (IsSpace(c)) {
        text_ += static_cast<char>(c);
        return;
    }
    if (c == '>') {
        EndStartTag();
        return;
    }
    if (c == '/') {
        text_ += '/';
        if (xmlMode_) {
            const unsigned char next = ReadChar();
            selfClosing_ = next == '>' ? 1 : 0;
            PushBack(next);
        }
        return;
    }
    if (inInstruction_ && c == '?') {
        // "?>" closes an instruction; "?" is no attribute of it.
        text_ += '?';
        const unsigned char next = ReadChar();
        PushBack(next);
        return;
    }
    if (IsNameChar(c)) {
        attributeName_.clear();
        PushBack(c);
        state_ = kStateAttributeName;
        return;
    }
    text_ += static_cast<char>(c);
}

void Tokenizer::EndStartTag() {
    Dictionary* dictionary = GetDictionary();
    if (inInstruction_) {
        // An instruction holds nothing: what follows is its sibling.
        selfClosing_ = 1;
    } else if (dictionary && !dictionary->IsOpen()) {
        const ElementHolds kind = dictionary->ElementContentKind(token_->typeId);
        if (!xmlMode_) {
            selfClosing_ = kind == kElementEmpty ? 1 : 0;
        } else if (kind == kElementWithContent && selfClosing_) {
            Diagnose(kDiag_ContentSelfClosed);
        } else if (kind == kElementEmpty && !selfClosing_) {
            Diagnose(kDiag_EmptyNotClosed);
        }
    }
    if (token_->node) token_->SetNodeEmpty(selfClosing_ != 0);
    tokenReady_ = true;
    state_ = kStateTokenStart;
}

void Tokenizer::ScanAttributeName(unsigned char c) {
    while (!Ended()) {
        if (c == '<') {
            const unsigned char next = ReadChar();
            if (next == '%') {
                const std::string block = ReadServerBlock();
                attributeName_ += block;
                text_ += block;
                c = ReadChar();
                continue;
            }
            // "<" ends the name and, like any stray character of the tag,
            // is kept in its text; the character after it is scanned next.
            AddAttribute(String(), true, false);
            text_ += '<';
            PushBack(next);
            state_ = kStateAttributeList;
            return;
        }
        if (!IsTagNameChar(c)) break;
        // The name's run in the buffer goes to both in one piece.
        std::uint32_t end = readPos_;
        if (!pushback_ && !inputEnded_) {
            while (end < available_ && IsTagNameChar(buffer_[end])) ++end;
        }
        attributeName_ += static_cast<char>(c);
        text_ += static_cast<char>(c);
        if (end > readPos_) {
            const char* run = reinterpret_cast<const char*>(buffer_.get() + readPos_);
            attributeName_.append(run, end - readPos_);
            text_.append(run, end - readPos_);
            readPos_ = end;
        }
        c = ReadChar();
    }
    if (Ended()) {
        // The document ends inside the tag: the attribute is kept.
        AddAttribute(String(), true, false);
        return;
    }
    PushBack(c);
    state_ = kStateAfterAttributeName;
}

void Tokenizer::ScanAfterAttributeName(unsigned char c) {
    if (c == '=') {
        text_ += '=';
        state_ = kStateAttributeValue;
        return;
    }
    if (IsSpaceOrNbsp(c)) {
        text_ += static_cast<char>(c);
        return;
    }
    if (c == '"') {
        // A value in quotes right after the name: the "=" is supplied.
        PushBack(c);
        text_ += '=';
        state_ = kStateAttributeValue;
        return;
    }
    if (c == '>') {
        AddAttribute(String(), true, true);
        // The tag ends here as it would in the attribute list.
        EndStartTag();
        return;
    }
    AddAttribute(String(), true, false);
    PushBack(c);
    state_ = kStateAttributeList;
}

void Tokenizer::ScanAttributeValue(unsigned char c) {
    while (IsSpaceOrNbsp(c)) {
        text_ += static_cast<char>(c);
        c = ReadChar();
    }
    // A member, so that long values do not make a buffer each.
    std::string& value = attributeValue_;
    value.clear();
    if (c == '"' || c == '\'') {
        const unsigned char quote = c;
        text_ += static_cast<char>(c);
        c = TakeWhile(ReadChar(), value, [this, quote](unsigned char k) { return k != quote && !Ended(); });
        text_ += value;
        if (c != quote) NoteUnterminated("an attribute value");
        // The closing quote goes to the text through the attribute list.
    } else {
        while (!Ended() && !IsSpaceOrNbsp(c) && c != '>' && c != '"') {
            if (c == '<') {
                const unsigned char next = ReadChar();
                if (next == '%') {
                    value += ReadServerBlock();
                    c = ReadChar();
                    continue;
                }
                value += '<';
                c = next;
                continue;
            }
            value += static_cast<char>(c);
            c = ReadChar();
        }
        text_ += value;
    }
    if (xmlMode_) ExpandAttributeReferences(value);
    AddAttribute(Reused(valueScratch_, value), false, false);
    PushBack(c);
    state_ = kStateAttributeList;
}

std::string Tokenizer::ReadServerBlock() {
    // "<%" was read; the block is taken whole, through its "%>".
    std::string block = "<%";
    unsigned char previous = 0;
    for (unsigned char c = ReadChar(); !Ended(); c = ReadChar()) {
        block += static_cast<char>(c);
        if (previous == '%' && c == '>') break;
        previous = c;
    }
    documentKind_ = kDocumentServerPage;
    return block;
}

std::uint32_t Tokenizer::LearnAttribute(const String& name) {
    Dictionary* dictionary = GetDictionary();
    if (!dictionary || !editor_) return 0;
    const std::uint32_t id = editor_->NewAttributeId();
    if (id == 0 || id > kLargestLearnedId) {
        DiagnoseDictionaryFull();
        return 0;
    }
    auto attribute = std::make_unique<HTMLAttributeDef>();
    attribute->SetId(id);
    attribute->SetName(dictionary->LookupName(name));
    attribute->SetTypeKind(kTypeFormatted);
    dictionary->Attributes().Insert(std::move(attribute));
    editor_->SetModified();
    return id;
}

void Tokenizer::DiagnoseDictionaryFull() {
    if (dictionaryFullReported_) return;
    dictionaryFullReported_ = true;
    String why;
    why.Format("the dictionary has learned names up to its limit of id %u; new element and attribute names "
               "stay unknown",
               static_cast<unsigned>(kLargestLearnedId));
    CommitText();
    // Told even when the tag was told of before: nothing else says why
    // the names after it are unknown.
    token_->reported = 0;
    ReportText(kDiag_DictionaryFull, token_, why);
}

const String& Tokenizer::Reused(String& into, const std::string& bytes) {
    into.Empty();
    into.Append(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return into;
}

std::uint32_t Tokenizer::AttributeId(const String& name, bool valueless, bool& unknownReported) {
    unknownReported = false;
    Dictionary* dictionary = GetDictionary();
    if (!dictionary) return 0;
    std::uint32_t id = 0;
    if (KnownId(token_->typeId, attributeName_, id)) return id;
    std::uint32_t first = 0;
    const DictStatus found = dictionary->FindAttributeForElement(name, token_->typeId, id, first);
    if (found == kDict_Ok) {
        RememberId(token_->typeId, attributeName_, id);
        return id;
    }
    const bool learning = xmlMode_ && dictionary->IsOpen();
    if (!learning) {
        // The validator judges an attribute the element does not take.
        if (valueless && first == 0) unknownReported = true;
        return first;
    }
    if (valueless) {
        id = first >= kFirstUnpackableAttributeId ? LearnAttribute(name) : first;
    } else if (found == kDict_NoMatch) {
        id = first;  // a namesake of other elements lends its id
        unknownReported = true;
    } else {
        id = LearnAttribute(name);
    }
    // The element takes what it learned or borrowed, so that the next
    // look-up of the name on it finds it.
    if (id != 0) {
        if (ElementDef* element = dictionary->Elements().FindById(token_->typeId)) {
            if (!element->TakesAttribute(id)) element->AddAttribute(id);
        }
    }
    return id;
}

void Tokenizer::AddAttribute(const String& value, bool valueless, bool atTagEnd) {
    AttrElement* element = AsAttrElement(token_->node);
    if (!element) throw InvalidArgumentFault();
    Dictionary* dictionary = GetDictionary();
    bool unknown = false;
    const String& name = Reused(nameScratch_, attributeName_);
    const std::uint32_t id = AttributeId(name, valueless, unknown);
    const HTMLAttributeDef* definition = dictionary ? dictionary->FindAttribute(id) : nullptr;
    // The dictionary gives the name back for the id: a document of many
    // attributes keeps one pointer for it instead of a copy per attribute.
    auto attribute = id != 0 && definition && definition->Name() == name ? std::make_unique<Attribute>(id)
                                                                        : std::make_unique<Attribute>(id, name);
    if (!valueless) {
        SetAttributeValue(*attribute, dictionary, value);
    } else if (definition) {
        String fallback;
        if (definition->Type() && definition->Type()->DefaultText(fallback) == kDict_Ok) {
            SetAttributeValue(*attribute, dictionary, fallback);
        }
    }
    const Attribute* added = attribute.get();
    element->AddAttribute(std::move(attribute));
    if (unknown) Diagnose(kDiag_UnknownAttribute, added);
    if (atTagEnd) Diagnose(kDiag_ValuelessAtTagEnd);
    attributeName_.clear();
}

}  // namespace markup
