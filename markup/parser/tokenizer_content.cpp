// Tokenizer: text, white space, entity and character references, "<%"
// blocks, processing instructions and markup declarations (comments, CDATA
// sections, DOCTYPE).
#include <string>

#include "markup/parser/dictionary_registry.h"
#include "markup/parser/tokenizer.h"
#include "character_reference.h"
#include "markup_characters.h"
#include "platform/latin1_text.h"

namespace markup {

using detail::IsEntityNameChar;
using detail::IsKeywordChar;
using detail::IsNameChar;
using detail::IsSpace;
using detail::IsSpaceOrNbsp;

namespace {

String ToString(const std::string& bytes) {
    String text;
    text.Append(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return text;
}

bool SameIgnoringCase(const std::string& a, const char* b) {
    return platform::lstrcmpiA(a.c_str(), b) == 0;
}

bool EndsWith(const std::string& text, const char* tail, std::size_t tailLength) {
    return text.size() >= tailLength && text.compare(text.size() - tailLength, tailLength, tail) == 0;
}

constexpr char kCDataKeyword[] = "[CDATA[";

}  // namespace

void Tokenizer::ScanWhitespace(unsigned char c) {
    c = TakeWhile(c, text_, IsSpaceOrNbsp);
    if (c == '<' || Ended()) {
        SetTokenNode(kKindWhitespace, token_->name, true);
        PushBack(c);
        tokenReady_ = true;
        state_ = kStateTokenStart;
        return;
    }
    // The spaces begin a text run.
    PushBack(c);
    state_ = kStateText;
}

void Tokenizer::ScanText(unsigned char c) {
    if (!token_->node) SetTokenNode(kKindText, String(), true);
    c = TakeWhile(c, text_, [this](unsigned char k) { return k != '<' && k != '&' && !Ended(); });
    PushBack(c);
    tokenReady_ = true;
    state_ = kStateTokenStart;
}

void Tokenizer::ScanEntity(unsigned char c) {
    std::string reference;
    while (IsEntityNameChar(c)) {
        reference += static_cast<char>(c);
        c = ReadChar();
    }
    text_ += reference;
    if (c != ';') {
        // No ";": the ampersand and the name are text, and the run goes on.
        if (!token_->node) SetTokenNode(kKindText, String(), true);
        Diagnose(kDiag_UnknownEntity);
        PushBack(c);
        state_ = kStateText;
        return;
    }
    reference += ';';
    text_ += ';';
    if (DecodeCharacterReference(reference)) {
        // The character (or, beyond 255, the reference as written) begins
        // a text run.
        if (!token_->node) SetTokenNode(kKindText, String(), true);
        state_ = kStateText;
        return;
    }
    if (ExpandDeclaredEntity(reference)) {
        if (!token_->node) SetTokenNode(kKindText, String(), true);
        state_ = kStateText;
        return;
    }
    token_->name = ToString(reference);
    Dictionary* dictionary = GetDictionary();
    String replacement;
    if (!dictionary || !dictionary->FindEntityText(token_->name, replacement)) Diagnose(kDiag_UnknownEntity);
    SetTokenNode(kKindEntityReference, token_->name, true);
    const unsigned char next = ReadChar();
    PushBack(next);
    state_ = next == '<' || next == '&' ? kStateTokenStart : kStateText;
    tokenReady_ = true;
}

bool Tokenizer::DecodeCharacterReference(const std::string& reference) {
    // "&#233;" and "&#x201C;": the character in the document's text (UTF-8
    // in XML, ISO-8859-1 in HTML); one the text cannot hold stays as
    // written, with a diagnostic, rather than be lost.
    if (reference.size() < 4) return false;
    const long code = detail::CharacterCode(std::string_view(reference).substr(1, reference.size() - 2));
    if (code < 0) return false;
    std::string character;
    if (detail::AppendCharacter(code, xmlMode_ != 0, character)) {
        text_.resize(text_.size() - reference.size());
        text_ += character;
    } else {
        Diagnose(kDiag_CharacterTooWide);
    }
    return true;
}

bool Tokenizer::ExpandDeclaredEntity(const std::string& reference) {
    if (reference.size() < 3) return false;
    const std::string name = reference.substr(1, reference.size() - 2);
    if (!entities_.Declares(name)) {
        // A predefined entity the dictionary knows stays its reference node.
        if (!detail::SubsetEntities::IsPredefined(name)) return false;
        Dictionary* dictionary = GetDictionary();
        String text;
        if (dictionary && dictionary->FindEntityText(ToString(reference), text)) return false;
    }
    const std::size_t start = text_.size() - reference.size();
    std::string expansion;
    switch (entities_.Expand(name, expansion)) {
        case detail::SubsetEntities::Result::kExpanded:
            text_.resize(start);
            text_ += expansion;
            return true;
        case detail::SubsetEntities::Result::kOverLimit:
            // The reference stays in the run as written.
            DiagnoseEntityLimit();
            return true;
        case detail::SubsetEntities::Result::kUnknown:
            break;
    }
    return false;
}

void Tokenizer::ExpandAttributeReferences(std::string& value) {
    if (value.find('&') == std::string::npos) return;
    if (entities_.ExpandText(value) == detail::SubsetEntities::Result::kOverLimit) DiagnoseEntityLimit();
}

void Tokenizer::DiagnoseEntityLimit() {
    if (entityLimitReported_) return;
    entityLimitReported_ = true;
    String why;
    why.Format("entity expansion stopped at %u bytes or %d levels; references kept as written",
               static_cast<unsigned>(detail::SubsetEntities::kMaxExpandedBytes), detail::SubsetEntities::kMaxDepth);
    CommitText();
    ReportText(kDiag_EntityLimit, token_, why);
}

void Tokenizer::ScanServerBlock(unsigned char c) {
    SetTokenNode(kKindServerBlock, String(), true);
    unsigned char previous = 0;
    while (!Ended()) {
        if (previous == '%' && c == '>') break;
        text_ += static_cast<char>(c);
        previous = c;
        c = ReadChar();
    }
    documentKind_ = kDocumentServerPage;
    tokenReady_ = true;
    state_ = kStateTokenStart;
}

void Tokenizer::ScanInstruction(unsigned char c) {
    while (IsSpace(c)) {
        text_ += static_cast<char>(c);
        c = ReadChar();
    }
    std::string target;
    while (IsNameChar(c)) {
        target += static_cast<char>(c);
        c = ReadChar();
    }
    text_ += target;
    if (!xmlMode_ && target.compare(0, 3, "xml") == 0) SwitchToXml();
    while (c != '>' && c != ' ' && !Ended()) {
        target += static_cast<char>(c);
        text_ += static_cast<char>(c);
        c = ReadChar();
    }
    token_->name = ToString(target);
    if (xmlMode_ && target == "xml-stylesheet") {
        // Its pseudo-attributes are scanned as attributes.
        SetTokenNode(kKindDeclaration, token_->name, true);
        inInstruction_ = true;
        PushBack(c);
        state_ = kStateAttributeList;
        return;
    }
    SetTokenNode(kKindMarkupDeclaration, token_->name, true);
    c = TakeWhile(c, text_, [this](unsigned char k) { return k != '>' && !Ended(); });
    if (c == '>') {
        text_ += '>';
    } else {
        NoteUnterminated("a processing instruction");
    }
    tokenReady_ = true;
    state_ = kStateTokenStart;
}

void Tokenizer::ScanDeclaration(unsigned char c) {
    bool comment = false;
    if (c == '-') {
        const unsigned char next = ReadChar();
        if (next == '-') {
            comment = true;
            text_ += "--";
            token_->name = "--";
        } else {
            text_ += '-';
            c = next;
        }
    }
    std::string keyword;
    if (!comment) {
        while (IsSpace(c)) {
            text_ += static_cast<char>(c);
            c = ReadChar();
        }
        // The CDATA keyword ends at its second "[": its content may begin
        // with what would otherwise continue a keyword.
        while (IsKeywordChar(c)) {
            keyword += static_cast<char>(c);
            text_ += static_cast<char>(c);
            c = ReadChar();
            if (SameIgnoringCase(keyword, kCDataKeyword)) break;
        }
        token_->name = ToString(keyword);
    }
    SetTokenNode(kKindMarkupDeclaration, token_->name, true);
    if (comment) {
        ScanComment();
    } else if (SameIgnoringCase(keyword, kCDataKeyword)) {
        ScanCData(c);
    } else {
        // A document type's internal subset holds declarations of its own:
        // its ">" (and those in quoted literals) do not end the declaration.
        const bool doctype = SameIgnoringCase(keyword, "DOCTYPE");
        std::uint32_t depth = 0;
        unsigned char quote = 0;
        // Characters that change no state are taken a run at a time: an
        // internal subset can be most of a document.
        const auto plain = [this, doctype, &quote](unsigned char k) {
            if (Ended()) return false;
            if (quote) return k != quote;
            if (!doctype) return k != '>';
            return k != '>' && k != '"' && k != '\'' && k != '[' && k != ']';
        };
        while (!Ended() && (c != '>' || depth > 0 || quote)) {
            if (plain(c)) {
                c = TakeWhile(c, text_, plain);
                continue;
            }
            if (doctype) {
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '[') {
                    ++depth;
                } else if (c == ']' && depth > 0) {
                    --depth;
                }
            }
            text_ += static_cast<char>(c);
            c = ReadChar();
        }
        if (c == '>') {
            text_ += '>';
        } else {
            NoteUnterminated(doctype ? "a DOCTYPE declaration" : "a markup declaration");
        }
        if (keyword == "DOCTYPE") LoadDoctype();
    }
    tokenReady_ = true;
    state_ = kStateTokenStart;
}

void Tokenizer::ScanComment() {
    // "<!--" was read. A nested "<!--" must close before the comment does.
    std::string body;
    int depth = 1;
    // A character of neither mark breaks any mark begun: a run of them is
    // taken whole.
    const auto plain = [this](unsigned char k) {
        return k != '<' && k != '!' && k != '-' && k != '>' && !Ended();
    };
    for (unsigned char c = ReadChar(); !Ended(); c = ReadChar()) {
        if (plain(c)) {
            c = TakeWhile(c, text_, plain);
            body.clear();
            if (Ended()) break;
        }
        body += static_cast<char>(c);
        text_ += static_cast<char>(c);
        if (EndsWith(body, "<!--", 4)) {
            ++depth;
            body.clear();
        } else if (EndsWith(body, "-->", 3)) {
            if (--depth == 0) return;
            body.clear();
        }
        // Only the last characters matter for the two marks.
        if (body.size() > 8) body.erase(0, body.size() - 4);
    }
    NoteUnterminated("a comment");
}

void Tokenizer::ScanCData(unsigned char c) {
    // The content runs to "]]>"; the token's text is the content alone.
    std::string content;
    bool closed = false;
    while (!Ended()) {
        if (c != '>') {
            c = TakeWhile(c, content, [this](unsigned char k) { return k != '>' && !Ended(); });
            continue;
        }
        if (EndsWith(content, "]]", 2)) {
            content.resize(content.size() - 2);
            closed = true;
            break;
        }
        content += static_cast<char>(c);
        c = ReadChar();
    }
    if (!closed) NoteUnterminated("a CDATA section");
    SetTokenNode(kKindCData, String(), true);
    token_->name = kCDataKeyword;
    text_ = content;
}

}  // namespace markup
