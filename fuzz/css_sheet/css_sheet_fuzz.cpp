// The CSS scanner and the style-sheet parser on arbitrary bytes. The input
// is one to four style texts (separated by the byte 1), added to one sheet
// one after the other; the whole input is also scanned on its own and read
// as a "style" attribute, and the first text's start is given to the value
// classes as a value text.
// Never a crash, a leak or a read past a text; the scanner keeps every
// byte, the pieces a long text is cut into (by the quick reading or by the
// scanner) scan to the whole text's tokens, and the sheet uses every token
// but its one end token.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "markup/containers.h"
#include "markup/style/css_attribute.h"
#include "markup/style/css_declarations.h"
#include "markup/style/css_style_sheet.h"
#include "markup/style/css_text_cuts.h"
#include "markup/style/css_tokenizer.h"

#include "css_dictionary.h"

using namespace markup::style;

namespace {

using fuzz_support::Css;

// The longest value text given to the value classes.
constexpr std::size_t kValueBytes = 64;

markup::String Bytes(const char* data, std::size_t size) {
    markup::String text;
    text.Append(data, static_cast<std::uint32_t>(size));
    return text;
}

void Touch(const CSSAttribute& value) {
    markup::String url;
    GetCSSURLText(value, url);
    value.PropertyName();
    if (const auto* number = dynamic_cast<const CSSNumericalAttribute*>(&value)) {
        number->NumberText();
        number->UnitText();
        if (number->UnitCode() > kCSSUnitUnknown) __builtin_trap();
    }
    if (const auto* group = dynamic_cast<const CSSGroupAttribute*>(&value)) {
        group->KeywordId();
        group->KeywordNumber();
    }
}

// The whole text's tokens, which keep every byte of it and end in the end token.
void ScanKeepsEveryByte(const markup::String& text, markup::Vector<CSSToken>& tokens) {
    CSSTokenizer().Tokenize(text, 0, tokens);
    std::string joined;
    for (std::uint32_t i = 0; i < tokens.Count(); ++i) joined.append(tokens.At(i)->Text().Text(), tokens.At(i)->Text().Length());
    const std::string expected = std::string(text.Text(), text.Length()) + '\x04';
    if (joined != expected || tokens.At(tokens.Count() - 1)->Type() != kCSSEnd) __builtin_trap();
}

// Token types and texts of a list of tokens, its end token left out.
std::string TokenRun(const markup::Vector<CSSToken>& tokens) {
    std::string run;
    for (std::uint32_t i = 0; i + 1 < tokens.Count(); ++i) {
        run += std::to_string(tokens.At(i)->Type()) + ':';
        run.append(tokens.At(i)->Text().Text(), tokens.At(i)->Text().Length());
        run += '\x01';
    }
    return run;
}

std::string TokenRun(const markup::String& text) {
    markup::Vector<CSSToken> tokens;
    CSSTokenizer().Tokenize(text, 0, tokens);
    return TokenRun(tokens);
}

// The pieces the cuts make of the text scan to the whole text's token run
// (given).
void CutsKeepEveryToken(const markup::String& text, const std::string& wholeRun,
                        const std::vector<std::uint32_t>& cuts) {
    if (cuts.empty()) return;
    std::string pieces;
    std::uint32_t start = 0;
    for (const std::uint32_t cut : cuts) {
        pieces += TokenRun(text.Mid(start, cut - start));
        start = cut;
    }
    pieces += TokenRun(text.Mid(start, text.Length() - start));
    if (pieces != wholeRun) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const markup::String whole = Bytes(bytes, size);
    // Scanned once: the same tokens are read as a "style" attribute below.
    markup::Vector<CSSToken> attributeTokens;
    ScanKeepsEveryByte(whole, attributeTokens);
    const std::vector<std::uint32_t> textCuts = CSSTextCuts(std::string_view(whole.Text(), whole.Length()), 1);
    CSSTokenizer scanner;
    const std::vector<std::uint32_t> scannedCuts = CSSScannedCuts(whole, 1, scanner);
    if (!textCuts.empty() || !scannedCuts.empty()) {
        const std::string wholeRun = TokenRun(attributeTokens);
        CutsKeepEveryToken(whole, wholeRun, textCuts);
        CutsKeepEveryToken(whole, wholeRun, scannedCuts);
    }

    CSSStyleSheet sheet(Css());
    std::size_t start = 0;
    for (int text = 0; text < 4 && start <= size; ++text) {
        const void* cut = text < 3 && start < size ? std::memchr(bytes + start, 1, size - start) : nullptr;
        const std::size_t end = cut ? static_cast<std::size_t>(static_cast<const char*>(cut) - bytes) : size;
        sheet.AddText(Bytes(bytes + start, end - start), static_cast<std::uint8_t>(text));
        start = end + 1;
    }
    const auto& tokens = sheet.Tokens();
    for (std::uint32_t i = 0; i + 1 < tokens.Count(); ++i) {
        if (!tokens.At(i)->Consumed()) __builtin_trap();
    }
    if (tokens.Count() == 0 || tokens.At(tokens.Count() - 1)->Type() != kCSSEnd) __builtin_trap();

    markup::Vector<CSSSimpleSelectorDesc> descriptions;
    descriptions.Add(CSSSimpleSelectorDesc("rect", "", ""));
    descriptions.Add(CSSSimpleSelectorDesc("rect", ".a", "#x"));
    descriptions.Add(CSSSimpleSelectorDesc("", ".b", ""));
    markup::Vector<CSSDeclaration> collected;
    sheet.CollectDeclarations(descriptions, collected);
    for (std::uint32_t i = 0; i < collected.Count(); ++i) Touch(*collected.At(i)->Value()->Attribute());
    // Rules() makes every rule not yet made, a walk of the list: asked once.
    const auto& rules = sheet.Rules();
    for (std::uint32_t r = 0; r < rules.Count(); ++r) rules.At(r)->RuleText();

    // As a "style" attribute: one declaration block.
    CSSTokenSource cursor(&attributeTokens);
    cursor.First();
    markup::Vector<CSSProperty> properties;
    ParseCSSDeclarations(cursor, Css(), properties);
    for (std::uint32_t p = 0; p < properties.Count(); ++p) {
        for (std::uint32_t v = 0; v < properties.At(p)->ValueCount(); ++v) Touch(*properties.At(p)->ValueAt(v)->Attribute());
    }

    // As value texts of a length and a colour: the start of the first text.
    // A value is a few tokens; a longer one would only scan the whole input
    // again.
    const void* firstCut = std::memchr(bytes, 1, size);
    const std::size_t valueSize =
        std::min<std::size_t>(firstCut ? static_cast<const char*>(firstCut) - bytes : size, kValueBytes);
    const markup::String value = Bytes(bytes, valueSize);
    CSSLengthAttribute length(Css());
    length.SetText(value);
    Touch(length);
    CSSColorAttribute colour(Css());
    colour.SetPropertyId(9);
    colour.SetText(value);
    Touch(colour);
    return 0;
}
