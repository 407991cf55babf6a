// The dictionary a compilation answers: entities, attribute definitions,
// element definitions with their attribute lists and content models.
#include "dictionary_builder.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <utility>

#include "content_model_builder.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/name_order.h"
#include "token_cursor.h"

namespace markup::dtd {

namespace {

// Element ids 159 to 185 name the fixed node kinds of parsed trees (wrapper,
// text run, comment, entity reference, document, ...); 0 means "unknown".
constexpr std::uint32_t kFirstFixedKind = 159;
constexpr std::uint32_t kLastFixedKind = 185;

// The value id every enumerated value of a compiled attribute carries.
constexpr std::uint32_t kCompiledValueId = 420;

// Declared-type codes of the attribute types.
enum CompiledType : std::uint32_t {
    kTypeCData = 9,
    kTypeId = 10,
    kTypeIdRef = 11,
    kTypeIdRefs = 12,
    kTypeEntity = 13,
    kTypeEntities = 14,
    kTypeNmToken = 15,
    kTypeNmTokens = 16,
    kTypeEnumeration = 17,
    kTypeNotation = 18,
};

// How an attribute's default is declared.
enum DefaultKind : std::uint32_t {
    kDefaultImplied = 0,
    kDefaultValue = 1,
    kDefaultFixed = 2,
    kDefaultRequired = 3,
};

String ToString(const std::string& text) {
    String out;
    out.Append(text.data(), static_cast<std::uint32_t>(text.size()));
    return out;
}

bool TypeCode(std::uint32_t token, std::uint32_t& code) {
    switch (token) {
        case kTokCData:
            code = kTypeCData;
            return true;
        case kTokId:
            code = kTypeId;
            return true;
        case kTokIdRef:
            code = kTypeIdRef;
            return true;
        case kTokIdRefs:
            code = kTypeIdRefs;
            return true;
        case kTokEntity:
            code = kTypeEntity;
            return true;
        case kTokEntities:
            code = kTypeEntities;
            return true;
        case kTokNmToken:
            code = kTypeNmToken;
            return true;
        case kTokNmTokens:
            code = kTypeNmTokens;
            return true;
        default:
            return false;
    }
}

// The values of "(a | b | c)" after its "("; false when they do not close.
template <class Cursor>
bool ReadValues(Cursor& cursor, std::vector<std::string>& values) {
    for (;;) {
        const std::uint32_t code = cursor.Code();
        if (code != kTokName && code != kTokNumber && code != kTokReserved) return false;
        values.push_back(cursor.Text());
        cursor.Next();
        if (cursor.Take(kTokRParen)) return true;
        if (!cursor.Take(kTokBar)) return false;
    }
}

// Enters definitions made in id order into an empty cross-reference at
// once: the definitions in name order (equal names in declaration order, as
// Insert would place them), each pair naming its definition's position.
// Inserting one by one would move every later entry each time.
template <class T>
void EnterAll(CrossReference<T>& entries, std::vector<std::unique_ptr<T>> definitions) {
    const auto count = static_cast<std::uint32_t>(definitions.size());
    std::vector<std::uint32_t> byName(count);
    std::iota(byName.begin(), byName.end(), 0u);
    std::stable_sort(byName.begin(), byName.end(), [&](std::uint32_t a, std::uint32_t b) {
        return CompareNames(definitions[a]->Name(), definitions[b]->Name()) < 0;
    });
    std::vector<std::uint32_t> position(count);
    for (std::uint32_t at = 0; at < count; ++at) position[byName[at]] = at;
    std::vector<std::uint32_t> ids(count);
    for (std::uint32_t i = 0; i < count; ++i) ids[i] = definitions[i]->Id();
    for (std::uint32_t i = 0; i < count; ++i) {
        entries.Append({ids[i], position[i]}, std::move(definitions[byName[i]]));
    }
}

}  // namespace

std::uint32_t DictionaryBuilder::NextId(std::uint32_t previous) {
    const std::uint32_t id = previous + 1;
    return id >= kFirstFixedKind && id <= kLastFixedKind ? kLastFixedKind + 1 : id;
}

std::unique_ptr<Dictionary> DictionaryBuilder::Build() {
    auto dictionary = std::make_unique<Dictionary>();
    dictionary->SetCaseSensitive(true);
    dictionary->CreateEditor();
    AddEntities(*dictionary);
    compiler_.MutableList(kListNotations).clear();
    AddAttributes(*dictionary);
    NumberElements();
    AddElements(*dictionary);
    // The highest ids, where the ids an open dictionary learns start.
    dictionary->SetHeader(1, lastElementId_);
    dictionary->SetHeader(2, lastAttributeId_);
    return dictionary;
}

void DictionaryBuilder::AddEntities(Dictionary& dictionary) const {
    // Under the name documents write ("&amp;"), added in the table's own
    // order so that a file read back numbers them alike.
    std::vector<std::pair<std::string, std::string>> entities;
    for (const auto& [key, entity] : compiler_.entities_) {
        if (!entity.parameter) entities.emplace_back("&" + entity.name + ";", entity.text);
    }
    std::sort(entities.begin(), entities.end());
    for (const auto& [name, text] : entities) dictionary.Editor()->AddEntity(ToString(name), ToString(text));
}

void DictionaryBuilder::AddAttributes(Dictionary& dictionary) {
    const TokenList& list = compiler_.List(kListAttributes);
    std::vector<std::unique_ptr<HTMLAttributeDef>> attributes;
    detail::ForEachDeclaration(list, kTokAttlistDecl, [&](auto start, auto end) {
        ReadAttributeList(std::next(start), end, attributes);
        return end;
    });
    EnterAll(dictionary.Attributes(), std::move(attributes));
}

template <class Iterator>
void DictionaryBuilder::ReadAttributeList(Iterator from, Iterator end,
                                          std::vector<std::unique_ptr<HTMLAttributeDef>>& attributes) {
    detail::TokenCursor cursor(from, end);
    if (cursor.Code() != kTokName) return;
    std::vector<std::uint32_t>& ids = attributesOf_[cursor.Text()];
    cursor.Next();
    while (cursor.Code() == kTokName) {
        auto attribute = std::make_unique<HTMLAttributeDef>();
        attribute->SetName(ToString(cursor.Text()));
        cursor.Next();

        std::uint32_t typeCode = 0;
        std::vector<std::string> values;
        if (TypeCode(cursor.Code(), typeCode)) {
            cursor.Next();
        } else if (cursor.Take(kTokLParen)) {
            typeCode = kTypeEnumeration;
            if (!ReadValues(cursor, values)) return;
        } else if (cursor.Take(kTokNotation)) {
            typeCode = kTypeNotation;
            if (!cursor.Take(kTokLParen) || !ReadValues(cursor, values)) return;
        } else {
            return;
        }

        std::uint32_t defaultKind = kDefaultImplied;
        bool hasLiteral = false;
        if (cursor.Take(kTokRequired)) {
            defaultKind = kDefaultRequired;
        } else if (cursor.Take(kTokImplied)) {
            defaultKind = kDefaultImplied;
        } else {
            defaultKind = cursor.Take(kTokFixed) ? kDefaultFixed : kDefaultValue;
            if (cursor.Code() != kTokLiteral) return;
            hasLiteral = true;
        }
        const std::string literal = hasLiteral ? cursor.Text() : std::string();
        if (hasLiteral) cursor.Next();

        attribute->SetDeclaredType(typeCode);
        attribute->SetDefaultKind(defaultKind);
        if (typeCode == kTypeEnumeration || typeCode == kTypeNotation) {
            auto* group = dynamic_cast<AttributeTypeGroup*>(attribute->SetTypeKind(kTypeGroup));
            std::uint32_t defaultIndex = 0;
            for (std::uint32_t i = 0; i < values.size(); ++i) {
                group->AddPair(
                    {kCompiledValueId, ToString(values[i]), static_cast<std::int32_t>(i), String()});
                if (hasLiteral && values[i] == literal) defaultIndex = i;
            }
            group->SetDefaultIndex(defaultIndex);
        } else {
            auto* formatted = dynamic_cast<AttributeTypeFormatted*>(attribute->SetTypeKind(kTypeFormatted));
            formatted->SetFormatText(ToString(literal));
        }
        lastAttributeId_ = NextId(lastAttributeId_);
        attribute->SetId(lastAttributeId_);
        attributes.push_back(std::move(attribute));
        ids.push_back(lastAttributeId_);
    }
}

void DictionaryBuilder::NumberElements() {
    TokenList& list = compiler_.MutableList(kListElements);
    detail::ForEachDeclaration(list, kTokElementDecl, [&](auto start, auto end) {
        const auto name = std::next(start);
        if (name == end || (*name)->Code() != kTokName || elementIds_.count((*name)->Text())) {
            // A second declaration of a name goes as a failed one does.
            return compiler_.MoveOut(list, start, end);
        }
        lastElementId_ = NextId(lastElementId_);
        elementIds_.emplace((*name)->Text(), lastElementId_);
        return end;
    });
}

void DictionaryBuilder::AddElements(Dictionary& dictionary) {
    const TokenList& list = compiler_.List(kListElements);
    ContentModelBuilder models(elementIds_, compiler_.Diagnostics());
    std::vector<std::unique_ptr<ElementDef>> elements;
    detail::ForEachDeclaration(list, kTokElementDecl, [&](auto start, auto end) {
        const auto name = std::next(start);
        const std::string& text = (*name)->Text();
        auto element = std::make_unique<ElementDef>();
        element->SetId(elementIds_.at(text));
        element->SetName(ToString(text));
        if (const auto found = attributesOf_.find(text); found != attributesOf_.end()) {
            for (std::uint32_t id : found->second) element->AddAttribute(id);
        }

        std::unique_ptr<ContentSymbol> model;
        const auto content = std::next(name);
        const std::uint32_t code = content == end ? 0 : (*content)->Code();
        if (code == kTokEmpty || code == kTokAny) {
            model = ContentSymbol::Create(kSymbolBase, 0);
            model->SetOccurrence(code == kTokEmpty ? kOccurOnce : kOccurAny);
        } else {
            model = models.Build(content, end);
        }
        element->SetModel(std::move(model), dictionary);
        elements.push_back(std::move(element));
        return end;
    });
    EnterAll(dictionary.Elements(), std::move(elements));
}

}  // namespace markup::dtd
