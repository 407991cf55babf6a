// The selector reader: a rule's prelude text into steps and conditions,
// with its specificity, normalised text and index key.
#include <algorithm>

#include "markup/style/css_selector_match.h"

namespace markup::style {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsNameStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0xA0 || c == '\\';
}

bool IsNameChar(unsigned char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek(std::size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }
    void Skip(std::size_t n = 1) { at_ = std::min(text_.size(), at_ + n); }
    bool SkipBlanks() {
        const std::size_t from = at_;
        while (!AtEnd() && IsBlank(Peek())) ++at_;
        return at_ != from;
    }

    // One escape after its backslash: up to six hexadecimal digits and one
    // blank, or the next character itself. Characters beyond one byte have
    // no place in the engine's Latin-1 text and become "?".
    void Escape(std::string& out) {
        if (AtEnd()) return;
        if (HexValue(Peek()) < 0) {
            out += Peek();
            Skip();
            return;
        }
        std::uint32_t code = 0;
        for (int n = 0; n < 6 && HexValue(Peek()) >= 0; ++n) {
            code = code * 16 + static_cast<std::uint32_t>(HexValue(Peek()));
            Skip();
        }
        if (IsBlank(Peek())) Skip();
        out += code > 0 && code < 256 ? static_cast<char>(code) : '?';
    }

    // An identifier (a leading "-" allowed); false when none starts here.
    bool Identifier(std::string& out) {
        out.clear();
        std::size_t start = at_;
        if (Peek() == '-') Skip();
        if (AtEnd() || !IsNameStart(static_cast<unsigned char>(Peek())) || (Peek() == '\\' && AtEnd())) {
            at_ = start;
            return false;
        }
        if (text_[start] == '-') out += '-';
        while (!AtEnd() && IsNameChar(static_cast<unsigned char>(Peek()))) {
            if (Peek() == '\\') {
                Skip();
                Escape(out);
            } else {
                out += Peek();
                Skip();
            }
        }
        return true;
    }

    // A quoted string without its quotes; false when unterminated.
    bool Quoted(std::string& out) {
        const char quote = Peek();
        Skip();
        out.clear();
        while (!AtEnd() && Peek() != quote) {
            if (Peek() == '\n' || Peek() == '\r') return false;
            if (Peek() == '\\') {
                Skip();
                if (Peek() == '\n') {
                    Skip();
                    continue;
                }
                Escape(out);
                continue;
            }
            out += Peek();
            Skip();
        }
        if (AtEnd()) return false;
        Skip();
        return true;
    }

    // Past a functional pseudo-class's arguments, to its ")".
    bool SkipArguments() {
        int depth = 1;
        while (!AtEnd()) {
            const char c = Peek();
            if (c == '"' || c == '\'') {
                std::string ignored;
                if (!Quoted(ignored)) return false;
                continue;
            }
            Skip();
            if (c == '(') ++depth;
            if (c == ')' && --depth == 0) return true;
        }
        return false;
    }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
};

constexpr std::size_t kMaxSteps = 256;

struct Counts {
    std::uint32_t ids = 0, classes = 0, types = 0;
};

bool ReadAttribute(Reader& r, SelectorCondition& out) {
    r.Skip();  // "["
    r.SkipBlanks();
    std::string name;
    // A namespace prefix ("ns|a", "*|a", "|a") is read past: names are
    // compared without namespaces.
    if (r.Peek() == '*' && r.Peek(1) == '|') r.Skip(2);
    if (r.Peek() == '|') r.Skip();
    if (!r.Identifier(name)) return false;
    if (r.Peek() == '|' && r.Peek(1) != '=') {
        r.Skip();
        if (!r.Identifier(name)) return false;
    }
    r.SkipBlanks();
    out.name = name;
    if (r.Peek() == ']') {
        r.Skip();
        out.test = SelectorTest::kAttrExists;
        return true;
    }
    const char op = r.Peek();
    switch (op) {
        case '=': out.test = SelectorTest::kAttrEquals; break;
        case '~': out.test = SelectorTest::kAttrIncludes; break;
        case '|': out.test = SelectorTest::kAttrDashMatch; break;
        case '^': out.test = SelectorTest::kAttrPrefix; break;
        case '$': out.test = SelectorTest::kAttrSuffix; break;
        case '*': out.test = SelectorTest::kAttrSubstring; break;
        default: return false;
    }
    r.Skip();
    if (op != '=') {
        if (r.Peek() != '=') return false;
        r.Skip();
    }
    r.SkipBlanks();
    if (r.Peek() == '"' || r.Peek() == '\'') {
        if (!r.Quoted(out.value)) return false;
    } else if (!r.Identifier(out.value)) {
        return false;
    }
    r.SkipBlanks();
    if (r.Peek() != ']') return false;
    r.Skip();
    return true;
}

bool ReadPseudo(Reader& r, SelectorStep& step, Counts& counts) {
    r.Skip();  // ":"
    const bool element = r.Peek() == ':';
    if (element) r.Skip();
    std::string name;
    if (!r.Identifier(name)) return false;
    const std::string folded = FoldedName(name);
    if (r.Peek() == '(') {
        r.Skip();
        if (!r.SkipArguments()) return false;
    }
    // The old single-colon pseudo-elements count as elements too.
    const bool isElement = element || folded == "first-line" || folded == "first-letter" || folded == "before" ||
                           folded == "after";
    SelectorCondition condition{SelectorTest::kNever, folded, {}};
    if (!element && folded == "first-child") condition.test = SelectorTest::kFirstChild;
    if (!element && folded == "root") condition.test = SelectorTest::kRoot;
    (isElement ? counts.types : counts.classes) += 1;
    step.conditions.push_back(std::move(condition));
    return true;
}

// One sequence of simple selectors; false when nothing or something
// invalid is there.
bool ReadStep(Reader& r, SelectorStep& step, Counts& counts) {
    bool any = false;
    std::string name;
    if (r.Peek() == '*' || r.Peek() == '|' || (r.Peek() != '\\' && r.Identifier(name)) ||
        (r.Peek() == '\\' && r.Identifier(name))) {
        bool universal = name.empty();
        if (universal && r.Peek() == '*') r.Skip();
        // "ns|type", "*|type", "|type": the prefix is read past.
        if (r.Peek() == '|' && r.Peek(1) != '=') {
            r.Skip();
            if (r.Peek() == '*') {
                r.Skip();
                universal = true;
                name.clear();
            } else if (r.Identifier(name)) {
                universal = false;
            } else {
                return false;
            }
        }
        if (!universal) {
            step.conditions.push_back({SelectorTest::kType, FoldedName(name), {}});
            ++counts.types;
        }
        any = true;
    }
    for (;;) {
        const char c = r.Peek();
        if (c == '#') {
            r.Skip();
            std::string id;
            // An id is a name: it may start with a digit.
            while (!r.AtEnd() && IsNameChar(static_cast<unsigned char>(r.Peek()))) {
                if (r.Peek() == '\\') {
                    r.Skip();
                    r.Escape(id);
                } else {
                    id += r.Peek();
                    r.Skip();
                }
            }
            if (id.empty()) return false;
            step.conditions.push_back({SelectorTest::kId, id, {}});
            ++counts.ids;
        } else if (c == '.') {
            r.Skip();
            std::string word;
            if (!r.Identifier(word)) return false;
            step.conditions.push_back({SelectorTest::kClass, word, {}});
            ++counts.classes;
        } else if (c == '[') {
            SelectorCondition condition{};
            if (!ReadAttribute(r, condition)) return false;
            step.conditions.push_back(std::move(condition));
            ++counts.classes;
        } else if (c == ':') {
            if (!ReadPseudo(r, step, counts)) return false;
        } else {
            break;
        }
        any = true;
    }
    return any;
}

std::string ConditionText(const SelectorCondition& c) {
    switch (c.test) {
        case SelectorTest::kType: return c.name;
        case SelectorTest::kClass: return "." + c.name;
        case SelectorTest::kId: return "#" + c.name;
        case SelectorTest::kAttrExists: return "[" + c.name + "]";
        case SelectorTest::kFirstChild: return ":first-child";
        case SelectorTest::kRoot: return ":root";
        case SelectorTest::kNever: return ":" + c.name;
        default: break;
    }
    static constexpr const char* kOps[] = {"=", "~=", "|=", "^=", "$=", "*="};
    const auto op = static_cast<std::size_t>(c.test) - static_cast<std::size_t>(SelectorTest::kAttrEquals);
    return "[" + c.name + kOps[op] + "\"" + c.value + "\"]";
}

std::uint32_t Held(std::uint32_t count) {
    return count < 999 ? count : 999;
}

void Finish(ParsedSelector& out, const Counts& counts) {
    out.specificity = Held(counts.ids) * 1000000u + Held(counts.classes) * 1000u + Held(counts.types);
    out.text.clear();
    for (const SelectorStep& step : out.steps) {
        if (!out.text.empty()) {
            out.text += step.combinator == ' ' ? std::string(" ") : std::string(" ") + step.combinator + " ";
        }
        if (step.conditions.empty()) out.text += '*';
        for (const SelectorCondition& c : step.conditions) out.text += ConditionText(c);
    }
    out.ancestorKeys.clear();
    bool ancestor = true;
    for (std::size_t i = out.steps.size(); i-- > 1;) {
        ancestor = ancestor && (out.steps[i].combinator == ' ' || out.steps[i].combinator == '>');
        if (!ancestor) break;
        for (const SelectorCondition& c : out.steps[i - 1].conditions) {
            if (c.test == SelectorTest::kId) out.ancestorKeys.push_back(AncestorKey('#', c.name));
            if (c.test == SelectorTest::kClass) out.ancestorKeys.push_back(AncestorKey('.', c.name));
            if (c.test == SelectorTest::kType) out.ancestorKeys.push_back(AncestorKey(' ', c.name));
        }
    }
    out.keyKind = SelectorKeyKind::kUniversal;
    out.key.clear();
    const SelectorStep& last = out.steps.back();
    const SelectorCondition* found[3] = {nullptr, nullptr, nullptr};
    // "[id=x]" and "[class~=x]" select what "#x" and ".x" do.
    for (const SelectorCondition& c : last.conditions) {
        const bool id = c.test == SelectorTest::kId ||
                        (c.test == SelectorTest::kAttrEquals && SameName(c.name, "id") && !c.value.empty());
        const bool word = c.test == SelectorTest::kClass ||
                          (c.test == SelectorTest::kAttrIncludes && SameName(c.name, "class") && !c.value.empty() &&
                           c.value.find_first_of(" \t\n\r\f") == std::string::npos);
        if (id && !found[0]) found[0] = &c;
        if (word && !found[1]) found[1] = &c;
        if (c.test == SelectorTest::kType && !found[2]) found[2] = &c;
    }
    static constexpr SelectorKeyKind kKinds[] = {SelectorKeyKind::kId, SelectorKeyKind::kClass, SelectorKeyKind::kType};
    for (int i = 0; i < 3; ++i) {
        if (found[i]) {
            out.keyKind = kKinds[i];
            out.key = found[i]->test == SelectorTest::kId || found[i]->test == SelectorTest::kClass ||
                              found[i]->test == SelectorTest::kType
                          ? found[i]->name
                          : found[i]->value;
            break;
        }
    }
}

}  // namespace

std::uint64_t AncestorKey(char kind, std::string_view name) {
    // FNV-1a over the kind and the name.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&](unsigned char c) { hash = (hash ^ c) * 1099511628211ull; };
    mix(static_cast<unsigned char>(kind));
    for (char c : name) mix(static_cast<unsigned char>(kind == ' ' && c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    return hash;
}

bool ParsedSelector::Never() const {
    for (const SelectorStep& step : steps) {
        for (const SelectorCondition& c : step.conditions) {
            if (c.test == SelectorTest::kNever) return true;
        }
    }
    return false;
}

std::string FoldedName(std::string_view name) {
    std::string out(name);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool ParseSelector(std::string_view text, ParsedSelector& out) {
    out = ParsedSelector();
    Reader r(text);
    Counts counts;
    r.SkipBlanks();
    char combinator = 0;
    for (;;) {
        // Matching recurses once a step: a selector is held to a length
        // that no style sheet reaches.
        if (out.steps.size() >= kMaxSteps) return false;
        SelectorStep step;
        step.combinator = combinator;
        if (!ReadStep(r, step, counts)) return false;
        out.steps.push_back(std::move(step));
        const bool blank = r.SkipBlanks();
        if (r.AtEnd()) break;
        const char c = r.Peek();
        if (c == '>' || c == '+' || c == '~') {
            combinator = c;
            r.Skip();
            r.SkipBlanks();
        } else if (blank) {
            combinator = ' ';
        } else {
            return false;
        }
    }
    Finish(out, counts);
    return true;
}

std::vector<std::string_view> SplitSelectorGroup(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    int brackets = 0, parens = 0;
    char quote = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ',';
        if (quote) {
            if (c == '\\') {
                ++i;
            } else if (c == quote) {
                quote = 0;
            }
            if (i < text.size()) continue;
        }
        if (c == '\\' && i < text.size()) {
            ++i;
            continue;
        }
        if (c == '"' || c == '\'') quote = c;
        if (c == '[') ++brackets;
        if (c == ']') --brackets;
        if (c == '(') ++parens;
        if (c == ')') --parens;
        if (c == ',' && (i == text.size() || (brackets <= 0 && parens <= 0 && !quote))) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

bool ParseSelectorGroup(std::string_view text, std::vector<ParsedSelector>& out) {
    out.clear();
    for (const std::string_view part : SplitSelectorGroup(text)) {
        ParsedSelector selector;
        if (!ParseSelector(part, selector)) {
            out.clear();
            return false;
        }
        out.push_back(std::move(selector));
    }
    return !out.empty();
}

}  // namespace markup::style
