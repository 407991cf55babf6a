// Internal-subset entities: reading their declarations, expanding their uses.
#include "markup/parser/subset_entities.h"

#include <algorithm>
#include <cstdint>

#include "character_reference.h"

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

}  // namespace

void SubsetEntities::Clear() {
    values_.clear();
    costs_.clear();
    kept_.clear();
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
        // A name declared now may be one an earlier use left as written:
        // what was worked out for the entities before no longer holds (a
        // use would otherwise expand a cycle closed by this declaration).
        if (values_.emplace(std::move(name), std::string(declaration.substr(i + 1, close - i - 1))).second) {
            costs_.clear();
            kept_.clear();
        }
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
    const Result result = ExpandInto(text, out);
    text.swap(out);
    return result;
}

namespace {

// One piece of a replacement or attribute text: plain bytes, a lone "&", a
// character reference or an entity name.
struct Piece {
    enum Kind { kPlain, kAmpersand, kCharacter, kName } kind;
    std::string_view text;  // the bytes, or the whole reference as written
    std::string_view name;  // kCharacter, kName: between "&" and ";"
};

// Calls take(piece) for each piece of text in order.
template <class Take>
void ForEachPiece(std::string_view text, Take&& take) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t amp = text.find('&', at);
        const std::size_t plainEnd = amp == std::string_view::npos ? text.size() : amp;
        if (plainEnd > at) take(Piece{Piece::kPlain, text.substr(at, plainEnd - at), {}});
        if (amp == std::string_view::npos) break;
        const std::size_t semi = text.find(';', amp + 1);
        const std::string_view name =
            semi == std::string_view::npos ? std::string_view() : text.substr(amp + 1, semi - amp - 1);
        const bool wellFormed = !name.empty() && (name[0] == '#' || NameEnd(name, 0) == name.size());
        if (!wellFormed) {
            take(Piece{Piece::kAmpersand, text.substr(amp, 1), {}});
            at = amp + 1;
            continue;
        }
        take(Piece{name[0] == '#' ? Piece::kCharacter : Piece::kName, text.substr(amp, semi - amp + 1), name});
        at = semi + 1;
    }
}

// Appends a piece that names no entity (plain bytes, a lone "&", a character
// reference: the character, or as written when it names none); false for a
// name, which the caller expands.
bool AppendLiteral(const Piece& piece, std::string& out) {
    if (piece.kind == Piece::kName) return false;
    const long code = piece.kind == Piece::kCharacter ? CharacterCode(piece.name) : -1;
    // These are XML texts: a character is its UTF-8.
    if (!AppendCharacter(code, true, out)) out.append(piece.text);
    return true;
}

}  // namespace

const SubsetEntities::Cost* SubsetEntities::CostOf(const std::string& name, int level) {
    if (const auto found = costs_.find(name); found != costs_.end()) return &found->second;
    if (level > kMaxDepth) return nullptr;
    const std::string& value = values_.find(name)->second;
    // Marked as being worked out; the entry stays where it is while the
    // table grows (its elements do not move).
    Cost& entry = costs_.emplace(name, Cost{}).first->second;
    Cost cost;
    cost.units = kReferenceCost;
    int deepest = 0;
    bool cut = false;
    ForEachPiece(value, [&](const Piece& piece) {
        if (cut || cost.over) return;
        if (piece.kind == Piece::kPlain) cost.units += piece.text.size();
        if (piece.kind == Piece::kName) {
            const std::string inner(piece.name);
            if (IsPredefined(inner)) {
                ++cost.units;
            } else if (values_.count(inner) != 0) {
                const Cost* used = CostOf(inner, level + 1);
                if (used == nullptr) {
                    cut = true;
                } else if (used->over || used->height < 0) {
                    cost.over = true;  // past a bound, or a cycle
                    if (used->units > kMaxExpandedBytes) cost.units = used->units;  // past the budget
                } else {
                    cost.units += used->units;
                    deepest = std::max(deepest, used->height);
                }
            }
        }
        if (cost.units > kMaxExpandedBytes) cost.over = true;
    });
    cost.height = deepest + 1;
    if (cost.height > kMaxDepth) cost.over = true;
    if (cut && level > 0) {
        // Deeper than the bound below the use that asked, which says nothing
        // of this entity's own depth: worked out again when it is used.
        costs_.erase(name);
        return nullptr;
    }
    if (cut) cost.over = true;  // asked for at the top: deeper than the bound
    entry = cost;
    return &entry;
}

void SubsetEntities::AppendExpansion(std::string_view text, std::string& out) {
    ForEachPiece(text, [&](const Piece& piece) {
        if (AppendLiteral(piece, out)) return;
        const std::string inner(piece.name);
        char predefined = 0;
        if (IsPredefined(inner, &predefined)) {
            out += predefined;
        } else if (const auto kept = kept_.find(inner); kept != kept_.end()) {
            out.append(kept->second);
        } else if (const auto value = values_.find(inner); value != values_.end()) {
            const std::size_t mark = out.size();
            AppendExpansion(value->second, out);
            if (out.size() - mark <= kKeptBytes) kept_.emplace(inner, out.substr(mark));
        } else {
            out.append(piece.text);  // unknown: as written
        }
    });
}

SubsetEntities::Result SubsetEntities::ExpandName(const std::string& name, int depth, std::string& out) {
    char predefined = 0;
    // The predefined five cannot be redeclared to anything else in XML.
    if (IsPredefined(name, &predefined)) {
        if (spent_ + 1 > kMaxExpandedBytes) return Result::kOverLimit;
        ++spent_;
        out += predefined;
        return Result::kExpanded;
    }
    if (values_.count(name) == 0) return Result::kUnknown;
    const Cost* cost = CostOf(name, 0);
    if (cost == nullptr || depth + cost->height > kMaxDepth) return Result::kOverLimit;
    if (cost->over && cost->units <= kMaxExpandedBytes) return Result::kOverLimit;  // a cycle or too deep
    if (spent_ + cost->units > kMaxExpandedBytes) {
        spent_ = kMaxExpandedBytes;  // a use past the budget spends the rest of it
        return Result::kOverLimit;
    }
    spent_ += cost->units;
    AppendExpansion(values_.find(name)->second, out);
    return Result::kExpanded;
}

// The document's own text: its bytes are bounded by the document's size and
// are not charged; each reference is expanded whole or kept as written.
SubsetEntities::Result SubsetEntities::ExpandInto(std::string_view text, std::string& out) {
    Result result = Result::kExpanded;
    ForEachPiece(text, [&](const Piece& piece) {
        if (AppendLiteral(piece, out)) return;
        const Result named = ExpandName(std::string(piece.name), 0, out);
        if (named == Result::kOverLimit) result = named;
        if (named != Result::kExpanded) out.append(piece.text);
    });
    return result;
}

}  // namespace markup::detail
