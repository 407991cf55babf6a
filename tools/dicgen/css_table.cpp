// The CSS table reader: sets of keywords, property rows and their keyword
// lines (the table's own header describes the form).
#include "css_table.h"

#include <cerrno>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <sstream>

namespace dicgen {

using markup::AttributeType;
using markup::AttributeTypeFormatted;
using markup::AttributeTypeGroup;
using markup::CSSAttributeDef;

namespace {

struct Keyword {
    std::uint32_t id = 0;
    std::string text;
    std::int32_t number = 0;
    bool initial = false;
};

struct Property {
    int line = 0;
    std::uint32_t id = 0;
    std::string name;
    std::uint32_t read = 0;
    std::uint32_t kind = 0;
    std::vector<std::uint32_t> formats;
    std::vector<std::uint32_t> members;
    std::vector<Keyword> keywords;
};

class TableReader {
  public:
    TableReader(const std::string& name, std::vector<std::string>& errors) : name_(name), errors_(errors) {}

    void Line(int number, std::string text) {
        line_ = number;
        if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        std::vector<std::string> tokens;
        for (std::string t; words >> t;) tokens.push_back(t);
        if (tokens.empty()) return;
        const bool indented = text[0] == ' ' || text[0] == '\t';
        if (indented) {
            Continuation(tokens);
        } else if (tokens[0] == "header") {
            Header(tokens);
        } else if (tokens[0] == "set") {
            Set(tokens);
        } else {
            Row(tokens);
        }
    }

    std::uint32_t header = 0;
    std::deque<Property> properties;  // stable, so current_ may point into the last

  private:
    void Fail(const std::string& what) {
        errors_.push_back(name_ + ":" + std::to_string(line_) + ": " + what);
    }

    bool Number(const std::string& text, std::int64_t& value) {
        if (text.empty()) return false;
        char* end = nullptr;
        errno = 0;
        value = std::strtoll(text.c_str(), &end, 0);
        return *end == '\0' && errno == 0;
    }

    bool Word(const std::string& text, std::uint32_t& word) {
        std::int64_t value = 0;
        if (!Number(text, value) || value < 0 || value > 0xFFFFFFFFll) {
            Fail("not a number: \"" + text + "\"");
            return false;
        }
        word = static_cast<std::uint32_t>(value);
        return true;
    }

    // "-", or numbers and ranges joined by commas.
    bool Words(const std::string& text, std::vector<std::uint32_t>& words) {
        if (text == "-") return true;
        std::istringstream parts(text);
        for (std::string part; std::getline(parts, part, ',');) {
            const auto dash = part.find('-', 1);
            std::uint32_t from = 0;
            std::uint32_t to = 0;
            if (dash == std::string::npos) {
                if (!Word(part, from)) return false;
                to = from;
            } else if (!Word(part.substr(0, dash), from) || !Word(part.substr(dash + 1), to)) {
                return false;
            }
            if (to < from) {
                Fail("reversed range \"" + part + "\"");
                return false;
            }
            for (std::uint32_t w = from; w <= to; ++w) words.push_back(w);
        }
        return true;
    }

    void Header(const std::vector<std::string>& tokens) {
        if (tokens.size() != 2 || !Word(tokens[1], header)) Fail("header takes one number");
    }

    void Set(const std::vector<std::string>& tokens) {
        if (tokens.size() != 2) {
            Fail("set takes a name");
            return;
        }
        if (sets_.count(tokens[1])) Fail("set \"" + tokens[1] + "\" given twice");
        current_ = &sets_[tokens[1]];
    }

    void Row(const std::vector<std::string>& tokens) {
        current_ = nullptr;
        if (tokens.size() != 6) {
            Fail("a property row has six fields: id name read kind formats members");
            return;
        }
        Property p;
        p.line = line_;
        p.name = tokens[1];
        if (!Word(tokens[0], p.id) || !Word(tokens[2], p.read) || !Word(tokens[3], p.kind) ||
            !Words(tokens[4], p.formats) || !Words(tokens[5], p.members)) {
            return;
        }
        if (p.kind > 3) Fail("kind " + tokens[3] + " is not 0 to 3");
        properties.push_back(p);
        current_ = &properties.back().keywords;
    }

    // Keyword pairs "ID TEXT[=NUMBER]" and "@SET" references.
    void Continuation(const std::vector<std::string>& tokens) {
        if (!current_) {
            Fail("keywords without a property or set");
            return;
        }
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i][0] == '@') {
                const auto set = sets_.find(tokens[i].substr(1));
                if (set == sets_.end()) {
                    Fail("no set \"" + tokens[i].substr(1) + "\"");
                    continue;
                }
                current_->insert(current_->end(), set->second.begin(), set->second.end());
                continue;
            }
            Keyword k;
            std::string id = tokens[i];
            if (id[0] == '*') {
                k.initial = true;
                id.erase(0, 1);
            }
            if (i + 1 >= tokens.size()) {
                Fail("keyword " + tokens[i] + " has no text");
                return;
            }
            if (!Word(id, k.id)) return;
            k.text = tokens[++i];
            if (const auto equals = k.text.find('='); equals != std::string::npos) {
                std::int64_t number = 0;
                if (!Number(k.text.substr(equals + 1), number) || number < -0x7FFFFFFFll ||
                    number > 0x7FFFFFFFll) {
                    Fail("bad keyword number in \"" + k.text + "\"");
                    return;
                }
                k.number = static_cast<std::int32_t>(number);
                k.text.erase(equals);
            }
            current_->push_back(k);
        }
    }

    std::string name_;
    std::vector<std::string>& errors_;
    int line_ = 0;
    std::map<std::string, std::vector<Keyword>> sets_;
    std::vector<Keyword>* current_ = nullptr;
};

// What the table must hold together: one text per keyword id, one row per
// property id and name, keywords exactly where the kind has a group.
void CheckTable(const TableReader& table, const std::string& name, std::vector<std::string>& errors) {
    std::map<std::uint32_t, std::string> texts;
    std::set<std::uint32_t> ids;
    std::set<std::string> names;
    for (const Property& p : table.properties) {
        const std::string at = name + ":" + std::to_string(p.line) + ": ";
        if (!ids.insert(p.id).second)
            errors.push_back(at + "property id " + std::to_string(p.id) + " given twice");
        if (!names.insert(p.name).second) errors.push_back(at + "property \"" + p.name + "\" given twice");
        const bool group = p.kind == markup::kTypeGroup || p.kind == markup::kTypeGroupFormatted;
        const bool formatted = p.kind == markup::kTypeFormatted || p.kind == markup::kTypeGroupFormatted;
        if (group != !p.keywords.empty())
            errors.push_back(at + "keywords go with kinds 1 and 3 only, and those need some");
        if (formatted != !p.formats.empty())
            errors.push_back(at + "formats go with kinds 2 and 3 only, and those need some");
        int initials = 0;
        for (const Keyword& k : p.keywords) {
            initials += k.initial;
            const auto [it, added] = texts.emplace(k.id, k.text);
            if (!added && it->second != k.text) {
                errors.push_back(at + "keyword " + std::to_string(k.id) + " is \"" + it->second +
                                 "\" elsewhere, not \"" + k.text + "\"");
            }
        }
        if (initials > 1) errors.push_back(at + "more than one initial keyword");
    }
}

std::unique_ptr<CSSAttributeDef> MakeProperty(const Property& p) {
    auto property = std::make_unique<CSSAttributeDef>();
    property->SetId(p.id);
    property->SetName(p.name.c_str());
    property->SetWordA(p.read);
    for (std::uint32_t member : p.members) property->AddDefinitionWord(member);
    AttributeType* type = property->SetTypeKind(p.kind);
    if (auto* group = dynamic_cast<AttributeTypeGroup*>(type)) {
        for (std::uint32_t i = 0; i < p.keywords.size(); ++i) {
            const Keyword& k = p.keywords[i];
            AttributeTypeGroup::ValueUserPair pair;
            pair.valueId = k.id;
            pair.value = k.text.c_str();
            pair.userValue = k.number;
            group->AddPair(pair);
            if (k.initial) {
                group->SetDefaultIndex(i);
                property->SetFlagA(1);
            }
        }
    }
    if (auto* formatted = dynamic_cast<AttributeTypeFormatted*>(type)) {
        for (std::uint32_t word : p.formats) formatted->AddFormat(word);
    }
    return property;
}

}  // namespace

bool ReadCSSTable(std::istream& in, const std::string& name, markup::CSSDictionary& dictionary,
                  std::vector<std::string>& errors) {
    const std::size_t before = errors.size();
    TableReader table(name, errors);
    int number = 0;
    for (std::string line; std::getline(in, line);) table.Line(++number, line);
    CheckTable(table, name, errors);
    if (errors.size() != before) return false;
    dictionary.Properties().Clear();
    dictionary.SetHeaderWord(table.header);
    // Insert keeps the definitions in name order and the pairs in id order,
    // the orders the file must have.
    for (const Property& p : table.properties) dictionary.Properties().Insert(MakeProperty(p));
    return true;
}

}  // namespace dicgen
