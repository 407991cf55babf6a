// Internal-subset entities: reading their declarations, expanding their uses.
#include "markup/parser/subset_entities.h"

#include <cstdint>

namespace markup::detail {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsNameByte(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == ':' ||
           u == '-' || u == '.' || u >= 0x80;
}

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

std::size_t NameEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && IsNameByte(text[at])) ++at;
    return at;
}

// The end of the markup declaration or comment that starts at `at`; quoted
// literals may hold ">".
std::size_t DeclarationEnd(std::string_view text, std::size_t at) {
    if (text.substr(at, 4) == "<!--") {
        const std::size_t close = text.find("-->", at + 4);
        return close == std::string_view::npos ? text.size() : close + 3;
    }
    char quote = 0;
    for (std::size_t i = at; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return text.size();
}

// "#233" or "#xE9" (without "&" and ";"): the code, or -1.
long CharacterCode(std::string_view name) {
    if (name.size() < 2 || name[0] != '#') return -1;
    std::size_t at = 1;
    int base = 10;
    if (name[1] == 'x' || name[1] == 'X') {
        base = 16;
        ++at;
    }
    if (at >= name.size()) return -1;
    long code = 0;
    for (std::size_t i = at; i < name.size(); ++i) {
        const char c = name[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return -1;
        if (code <= 0x10FFFF) code = code * base + digit;
    }
    return code;
}

}  // namespace

void SubsetEntities::Clear() {
    values_.clear();
    spent_ = 0;
}

bool SubsetEntities::IsPredefined(const std::string& name, char* character) {
    static const struct {
        const char* name;
        char character;
    } kPredefined[] = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& entry : kPredefined) {
        if (name == entry.name) {
            if (character) *character = entry.character;
            return true;
        }
    }
    return false;
}

void SubsetEntities::Declare(std::string_view subset) {
    std::size_t at = 0;
    while ((at = subset.find('<', at)) != std::string_view::npos) {
        const std::size_t end = DeclarationEnd(subset, at);
        const std::string_view declaration = subset.substr(at, end - at);
        at = end;
        if (declaration.substr(0, 8) != "<!ENTITY") continue;
        std::size_t i = SkipBlanks(declaration, 8);
        if (i == 8 || i >= declaration.size() || declaration[i] == '%') continue;  // a parameter entity
        const std::size_t nameEnd = NameEnd(declaration, i);
        if (nameEnd == i) continue;
        std::string name(declaration.substr(i, nameEnd - i));
        i = SkipBlanks(declaration, nameEnd);
        // SYSTEM or PUBLIC: an external entity, which is never fetched.
        if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) continue;
        const char quote = declaration[i];
        const std::size_t close = declaration.find(quote, i + 1);
        if (close == std::string_view::npos) continue;
        values_.emplace(std::move(name), std::string(declaration.substr(i + 1, close - i - 1)));
    }
}

SubsetEntities::Result SubsetEntities::Expand(const std::string& name, std::string& out) {
    const std::size_t mark = out.size();
    const Result result = ExpandName(name, 0, out);
    if (result != Result::kExpanded) out.resize(mark);
    return result;
}

SubsetEntities::Result SubsetEntities::ExpandText(std::string& text) {
    if (text.find('&') == std::string::npos) return Result::kExpanded;
    std::string out;
    out.reserve(text.size());
    const Result result = ExpandInto(text, 0, out);
    text.swap(out);
    return result;
}

SubsetEntities::Result SubsetEntities::ExpandName(const std::string& name, int depth, std::string& out) {
    const auto found = values_.find(name);
    char predefined = 0;
    // The predefined five cannot be redeclared to anything else in XML.
    if (IsPredefined(name, &predefined)) {
        if (spent_ + 1 > kMaxExpandedBytes) return Result::kOverLimit;
        ++spent_;
        out += predefined;
        return Result::kExpanded;
    }
    if (found == values_.end()) return Result::kUnknown;
    if (depth >= kMaxDepth) return Result::kOverLimit;
    const std::string& value = found->second;  // the table does not change while it expands
    const std::size_t mark = out.size();
    const Result result = ExpandInto(value, depth + 1, out);
    if (result == Result::kOverLimit) {
        out.resize(mark);
        return result;
    }
    return Result::kExpanded;
}

SubsetEntities::Result SubsetEntities::ExpandInto(std::string_view text, int depth, std::string& out) {
    Result result = Result::kExpanded;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t amp = text.find('&', at);
        const std::size_t plainEnd = amp == std::string_view::npos ? text.size() : amp;
        if (plainEnd > at) {
            if (spent_ + (plainEnd - at) > kMaxExpandedBytes) return Result::kOverLimit;
            // Only text that came out of a replacement is charged: the
            // document's own bytes are bounded by the document's size.
            if (depth > 0) spent_ += plainEnd - at;
            out.append(text.substr(at, plainEnd - at));
        }
        if (amp == std::string_view::npos) break;
        const std::size_t semi = text.find(';', amp + 1);
        std::string_view name =
            semi == std::string_view::npos ? std::string_view() : text.substr(amp + 1, semi - amp - 1);
        const bool wellFormed = !name.empty() && (name[0] == '#' || NameEnd(name, 0) == name.size());
        if (!wellFormed) {
            out += '&';
            at = amp + 1;
            continue;
        }
        if (name[0] == '#') {
            const long code = CharacterCode(name);
            if (code >= 1 && code <= 255) {
                out += static_cast<char>(code);
            } else {
                out.append(text.substr(amp, semi - amp + 1));
            }
        } else {
            const Result named = ExpandName(std::string(name), depth, out);
            if (named == Result::kOverLimit) {
                if (depth > 0) return named;  // the whole outer use stays as written
                result = named;
            }
            if (named != Result::kExpanded) out.append(text.substr(amp, semi - amp + 1));
        }
        at = semi + 1;
    }
    return result;
}

}  // namespace markup::detail
