// Small HTML-like markup dictionaries built in code, for the tests of the
// content models, the content validator and the tree builder.
//
// Content models are written the way a DTD writes them, and resolved against
// the element names declared to the same builder:
//
//     EMPTY | ANY | particle
//     particle  := ( "(" particle { sep particle } ")" | name | "#PCDATA" | "%" class ) [occurrence]
//     sep       := "," (sequence) | "|" (choice) | "&" (all, any order); one kind per group
//     occurrence:= "?" | "*" | "+" | "!" (may not occur: code 0); none means exactly once
//
// A group of one particle is a sequence. Every symbol without an occurrence
// mark occurs once (unlike the defaults of ContentSymbol::Create).
//
// BuildHtmlLikeDictionary() is one such dictionary with the ids and groups
// the content checks and the tree builder give a meaning (root 68, the
// document-level element 183, type 25 merged at the end, type 85 given a
// no-break space, type 140 implied quietly; groups 3 carried, 16 receiving
// the carried, 18 search boundary, 23 allowed anywhere). WriteDic and
// LoadDic pass a dictionary through a .dic file when the reader is under
// test.
#pragma once

#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "markup/parser/dictionary.h"

namespace markup_test {

// Parses one content model; names resolve through `ids`. Throws
// std::invalid_argument for a malformed text or an undeclared name.
class ContentModelParser {
  public:
    ContentModelParser(const std::string& text, const std::map<std::string, std::uint32_t>& ids)
        : text_(text), ids_(ids) {}

    std::unique_ptr<markup::ContentSymbol> Parse() {
        Skip();
        std::unique_ptr<markup::ContentSymbol> symbol;
        if (Keyword("EMPTY")) {
            symbol = markup::ContentSymbol::Create(markup::kSymbolBase, 0);
            symbol->SetOccurrence(markup::kOccurOnce);
        } else if (Keyword("ANY")) {
            symbol = markup::ContentSymbol::Create(markup::kSymbolBase, 0);
            symbol->SetOccurrence(markup::kOccurAny);
        } else {
            symbol = Particle(0);
        }
        Skip();
        if (at_ != text_.size()) Fail("trailing text");
        return symbol;
    }

  private:
    std::unique_ptr<markup::ContentSymbol> Particle(std::uint32_t position) {
        Skip();
        std::unique_ptr<markup::ContentSymbol> symbol;
        if (Take('(')) {
            auto group = std::make_unique<markup::LogicalConnective>(position);
            group->SetConnector(markup::kConnectSequence);
            group->AdoptChild(Particle(0));
            char separator = 0;
            for (Skip(); !Take(')'); Skip()) {
                const char c = Peek();
                if (c != ',' && c != '|' && c != '&') Fail("separator expected");
                if (separator && c != separator) Fail("mixed separators");
                separator = c;
                ++at_;
                group->AdoptChild(Particle(group->ChildCount()));
            }
            if (separator == '|') group->SetConnector(markup::kConnectChoice);
            if (separator == '&') group->SetConnector(markup::kConnectAll);
            symbol = std::move(group);
        } else if (Keyword("#PCDATA")) {
            symbol = std::make_unique<markup::PCDataSymbol>(position);
        } else if (Take('%')) {
            auto group = std::make_unique<markup::GroupSymbol>(position);
            group->SetGroupClass(static_cast<std::uint32_t>(std::stoul(Word())));
            symbol = std::move(group);
        } else {
            const std::string name = Word();
            auto hit = ids_.find(name);
            if (hit == ids_.end()) Fail("undeclared element " + name);
            auto element = std::make_unique<markup::ElementSymbol>(position);
            element->SetElementId(hit->second);
            symbol = std::move(element);
        }
        symbol->SetOccurrence(Occurrence());
        return symbol;
    }

    std::uint32_t Occurrence() {
        switch (Peek()) {
            case '?':
                return ++at_, markup::kOccurOptional;
            case '*':
                return ++at_, markup::kOccurAny;
            case '+':
                return ++at_, markup::kOccurOneOrMore;
            case '!':
                return ++at_, markup::kOccurNever;
            default:
                return markup::kOccurOnce;
        }
    }

    std::string Word() {
        Skip();
        const std::size_t start = at_;
        while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '-')) {
            ++at_;
        }
        if (at_ == start) Fail("name expected");
        return text_.substr(start, at_ - start);
    }

    bool Keyword(const char* word) {
        const std::string w(word);
        if (text_.compare(at_, w.size(), w) != 0) return false;
        at_ += w.size();
        return true;
    }

    void Skip() {
        while (at_ < text_.size() && text_[at_] == ' ') ++at_;
    }
    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    bool Take(char c) {
        if (Peek() != c) return false;
        ++at_;
        return true;
    }
    [[noreturn]] void Fail(const std::string& why) const {
        throw std::invalid_argument("content model \"" + text_ + "\": " + why);
    }

    std::string text_;
    const std::map<std::string, std::uint32_t>& ids_;
    std::size_t at_ = 0;
};

// The three flag bytes of an element definition as the content checks read
// them.
struct ElementFlags {
    bool omissible = false;    // flag 1: the start tag may be left out
    bool notBoundary = false;  // flag 2: not a search boundary though in group 18
    bool impliable = false;    // flag 3: may be implied
};

constexpr ElementFlags kPlain{};
constexpr ElementFlags kOmissible{true, false, true};  // implied freely
constexpr ElementFlags kImpliable{false, false, true};  // implied at the cost of a start tag

// An attribute of the built dictionary.
struct AttributeSpec {
    std::uint32_t id = 0;
    std::string name;
    std::uint32_t defaultKind = 0;  // 1 default literal, 2 fixed, 3 required, 0 implied
    std::vector<std::string> values;  // a group type when not empty
    std::uint32_t defaultIndex = 0;
    std::uint32_t format = 0;  // a formatted type with this format word when not 0
    std::string formatText;
    std::uint32_t declaredType = 0;
};

// An attribute with no value type, an enumerated one, a formatted one.
inline AttributeSpec PlainAttribute(std::uint32_t id, const std::string& name, std::uint32_t defaultKind,
                                    std::uint32_t declaredType = 0) {
    AttributeSpec spec;
    spec.id = id;
    spec.name = name;
    spec.defaultKind = defaultKind;
    spec.declaredType = declaredType;
    return spec;
}

inline AttributeSpec GroupAttribute(std::uint32_t id, const std::string& name, std::uint32_t defaultKind,
                                    std::vector<std::string> values, std::uint32_t defaultIndex) {
    AttributeSpec spec = PlainAttribute(id, name, defaultKind);
    spec.values = std::move(values);
    spec.defaultIndex = defaultIndex;
    return spec;
}

inline AttributeSpec FormatAttribute(std::uint32_t id, const std::string& name, std::uint32_t defaultKind,
                                     std::uint32_t format, const std::string& formatText) {
    AttributeSpec spec = PlainAttribute(id, name, defaultKind);
    spec.format = format;
    spec.formatText = formatText;
    return spec;
}

class HtmlDictionaryBuilder {
  public:
    // Declaring an id again replaces its element (and it becomes the last).
    HtmlDictionaryBuilder& Element(std::uint32_t id, const std::string& name, const std::string& model,
                                   ElementFlags flags = kPlain) {
        for (auto it = elements_.begin(); it != elements_.end(); ++it) {
            if (it->id != id) continue;
            ids_.erase(it->name);
            elements_.erase(it);
            break;
        }
        ids_[name] = id;
        elements_.push_back({id, name, model, flags, {}, {}, {}});
        return *this;
    }
    HtmlDictionaryBuilder& Group(std::uint32_t groupClass, std::initializer_list<std::uint32_t> members) {
        groups_.emplace_back(groupClass, std::vector<std::uint32_t>(members));
        return *this;
    }
    // The ids apply to the element declared last.
    HtmlDictionaryBuilder& Includes(std::initializer_list<std::uint32_t> ids) {
        Last().inclusions.insert(Last().inclusions.end(), ids);
        return *this;
    }
    HtmlDictionaryBuilder& Excludes(std::initializer_list<std::uint32_t> ids) {
        Last().exclusions.insert(Last().exclusions.end(), ids);
        return *this;
    }
    HtmlDictionaryBuilder& ExtraChildren(std::initializer_list<std::uint32_t> ids) {
        Last().extras.insert(Last().extras.end(), ids);
        return *this;
    }
    HtmlDictionaryBuilder& Attribute(const AttributeSpec& attribute, std::initializer_list<std::uint32_t> elements) {
        attributes_.push_back(attribute);
        for (std::uint32_t element : elements) takes_.emplace_back(element, attribute.id);
        return *this;
    }
    // A named value; a format word above the built-in ones names the one
    // whose text is its pattern.
    HtmlDictionaryBuilder& Value(std::uint32_t id, const std::string& name, const std::string& text) {
        values_.push_back({id, name, text});
        return *this;
    }

    std::unique_ptr<markup::Dictionary> Build(bool caseSensitive = false) const {
        using namespace markup;
        auto d = std::make_unique<Dictionary>();
        d->CreateEditor();
        d->SetCaseSensitive(caseSensitive);
        std::uint32_t highest = 0;
        for (const auto& e : elements_) highest = e.id > highest ? e.id : highest;
        d->SetHeader(1, highest);
        for (const auto& [groupClass, members] : groups_) {
            auto group = std::make_unique<ElementGroup>(groupClass, ("group" + std::to_string(groupClass)).c_str());
            for (std::uint32_t id : members) group->AddMember(id);
            d->AddGroup(std::move(group));
        }
        for (const auto& v : values_) {
            d->AddValue(std::make_unique<ValueDef>(v.id, v.name.c_str(), v.text.c_str()));
        }
        for (const auto& a : attributes_) d->Attributes().Insert(MakeAttribute(a));
        for (const auto& e : elements_) {
            auto element = std::make_unique<ElementDef>();
            element->SetId(e.id);
            element->SetName(e.name.c_str());
            element->SetFlag(0, e.flags.omissible ? 1 : 0);
            element->SetFlag(1, e.flags.notBoundary ? 1 : 0);
            element->SetFlag(2, e.flags.impliable ? 1 : 0);
            for (const auto& [owner, attribute] : takes_) {
                if (owner == e.id) element->AddAttribute(attribute);
            }
            for (std::uint32_t id : e.extras) element->AddExtraChild(id);
            element->SetModel(e.model.empty() ? nullptr : ContentModelParser(e.model, ids_).Parse(), *d);
            for (std::uint32_t id : e.inclusions) element->AddInclusion(id);
            for (std::uint32_t id : e.exclusions) element->AddExclusion(id);
            d->Elements().Insert(std::move(element));
        }
        return d;
    }

    // One model against the names declared so far.
    std::unique_ptr<markup::ContentSymbol> Model(const std::string& text) const {
        return ContentModelParser(text, ids_).Parse();
    }

  private:
    struct ElementSpec {
        std::uint32_t id;
        std::string name;
        std::string model;  // empty: no model
        ElementFlags flags;
        std::vector<std::uint32_t> inclusions, exclusions, extras;
    };
    struct ValueSpec {
        std::uint32_t id;
        std::string name, text;
    };

    ElementSpec& Last() {
        if (elements_.empty()) throw std::logic_error("no element declared yet");
        return elements_.back();
    }

    static std::unique_ptr<markup::HTMLAttributeDef> MakeAttribute(const AttributeSpec& spec) {
        using namespace markup;
        auto attribute = std::make_unique<HTMLAttributeDef>();
        attribute->SetId(spec.id);
        attribute->SetName(spec.name.c_str());
        attribute->SetDefaultKind(spec.defaultKind);
        attribute->SetDeclaredType(spec.declaredType);
        const bool grouped = !spec.values.empty();
        const bool formatted = spec.format != 0;
        if (!grouped && !formatted) return attribute;
        AttributeType* type =
            attribute->SetTypeKind(grouped && formatted ? kTypeGroupFormatted : grouped ? kTypeGroup : kTypeFormatted);
        if (auto* group = dynamic_cast<AttributeTypeGroup*>(type)) {
            std::int32_t number = 0;
            for (const auto& value : spec.values) {
                group->AddPair({400u + static_cast<std::uint32_t>(number), value.c_str(), number, ""});
                ++number;
            }
            group->SetDefaultIndex(spec.defaultIndex);
        }
        if (auto* format = dynamic_cast<AttributeTypeFormatted*>(type)) {
            format->AddFormat(spec.format);
            format->SetFormatText(spec.formatText.c_str());
        }
        return attribute;
    }

    std::map<std::string, std::uint32_t> ids_;
    std::vector<ElementSpec> elements_;
    std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>> groups_;
    std::vector<AttributeSpec> attributes_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> takes_;
    std::vector<ValueSpec> values_;
};

// The ids of the HTML-like dictionary, apart from the names of other
// sample dictionaries.
namespace html_like {

enum HtmlLikeId : std::uint32_t {
    kP = 10,
    kDiv = 11,
    kUl = 12,
    kLi = 13,
    kTable = 14,
    kCaption = 15,
    kTr = 16,
    kB = 20,
    kI = 21,
    kA = 22,
    kSpan = 23,
    kBr = 24,
    kBody = 25,  // merged into the first at the end of a document
    kImg = 26,
    kHead = 30,
    kTitle = 31,
    kBase = 32,
    kIns = 40,
    kDel = 41,
    kScript = 42,
    kHtml = 68,  // the root element
    kTd = 85,    // receives a no-break space when left empty
    kTbody = 140,  // implied without diagnostics
    kDocInfo = 183,  // allowed beside the root, under the document node
};

// Element groups of the HTML-like dictionary besides the fixed ones.
constexpr std::uint32_t kBlockGroup = 5;
constexpr std::uint32_t kInlineGroup = 6;

// Attribute ids of the HTML-like dictionary.
enum HtmlLikeAttribute : std::uint32_t {
    kAlignAttribute = 1,   // p, div: left | center | right, default center
    kWidthAttribute = 2,   // table, td: digits
    kTypeAttribute = 3,    // script, required: text/javascript | text/vbscript
    kSrcAttribute = 4,     // img, required, any text
    kNameAttribute = 5,    // a: unique among like siblings
};
// The named value whose text is the pattern of the width attribute.
constexpr std::uint32_t kDigitsFormat = 30;

}  // namespace html_like

// html (head?, body), head (title & base?), body (%block)* including ins and
// del; block p, div, ul, table; inline b, i, a, span, br, img; a excludes a;
// table (caption?, tbody+), tbody (tr+), tr (td+), td flow; script anywhere.
// Omissible and impliable: html, head, body, tbody; impliable at the cost of
// a start tag: p, tr, td. Models may name elements declared after them.
inline HtmlDictionaryBuilder HtmlLikeBuilder() {
    using namespace html_like;
    const std::string flow = "(#PCDATA | %5 | %6)*";
    const std::string inlines = "(#PCDATA | %6)*";
    HtmlDictionaryBuilder b;
    b.Group(3, {kB, kI})
        .Group(16, {kTd})
        .Group(18, {kTable})
        .Group(23, {kScript})
        .Group(kBlockGroup, {kP, kDiv, kUl, kTable})
        .Group(kInlineGroup, {kB, kI, kA, kSpan, kBr, kImg});
    b.Value(kDigitsFormat, "digits", "^[0-9]+$");
    b.Attribute(GroupAttribute(kAlignAttribute, "align", 1, {"left", "center", "right"}, 1), {kP, kDiv})
        .Attribute(FormatAttribute(kWidthAttribute, "width", 0, kDigitsFormat, "0"), {kTable, kTd})
        .Attribute(GroupAttribute(kTypeAttribute, "type", 3, {"text/javascript", "text/vbscript"}, 0), {kScript})
        .Attribute(PlainAttribute(kSrcAttribute, "src", 3), {kImg})
        .Attribute(PlainAttribute(kNameAttribute, "name", 0, markup::kDeclaredUnique), {kA});
    b.Element(kHtml, "html", "(head?, body)", kOmissible)
        .Element(kHead, "head", "(title & base?)", kOmissible)
        .Element(kTitle, "title", "(#PCDATA)*")
        .Element(kBase, "base", "EMPTY")
        .Element(kBody, "body", "(%5)*", kOmissible)
        .Includes({kIns, kDel})
        .Element(kP, "p", inlines, kImpliable)
        .Element(kDiv, "div", flow)
        .Element(kUl, "ul", "(li)+")
        .Element(kLi, "li", flow)
        .Element(kTable, "table", "(caption?, tbody+)")
        .Element(kCaption, "caption", inlines)
        .Element(kTbody, "tbody", "(tr)+", kOmissible)
        .Element(kTr, "tr", "(td)+", kImpliable)
        .Element(kTd, "td", flow, kImpliable)
        .Element(kB, "b", inlines)
        .Element(kI, "i", inlines)
        .Element(kA, "a", inlines)
        .Excludes({kA})
        .Element(kSpan, "span", inlines)
        .Element(kBr, "br", "EMPTY")
        .Element(kImg, "img", "EMPTY")
        .Element(kIns, "ins", flow)
        .Element(kDel, "del", flow)
        .Element(kScript, "script", "(#PCDATA)*")
        .Element(kDocInfo, "docinfo", "(#PCDATA)*");
    return b;
}

inline std::unique_ptr<markup::Dictionary> BuildHtmlLikeDictionary(bool caseSensitive = false) {
    return HtmlLikeBuilder().Build(caseSensitive);
}

// Writes the dictionary as a .dic file and reads it back, for tests that
// put the reader on the road: the open flag, which no file keeps, is
// copied. Throws std::runtime_error when either step fails.
inline std::unique_ptr<markup::Dictionary> ThroughDicFile(const markup::Dictionary& dictionary) {
    std::string path = (std::filesystem::temp_directory_path() / "html-like-XXXXXX").string();
    const int fd = ::mkstemp(path.data());
    if (fd < 0) throw std::runtime_error("no temporary file");
    ::close(fd);
    auto loaded = std::make_unique<markup::Dictionary>();
    const markup::ReturnCodeEnum saved = dictionary.Save(path.c_str());
    const markup::ReturnCodeEnum read =
        saved == markup::kErr_None ? loaded->Load(path.c_str(), dictionary.CaseSensitive()) : saved;
    std::remove(path.c_str());
    if (read != markup::kErr_None) throw std::runtime_error("the .dic round trip failed");
    loaded->SetOpen(dictionary.IsOpen());
    return loaded;
}

}  // namespace markup_test
