// Token: one piece of a markup document as the tokenizer hands it to the
// tree builder.
#pragma once

#include <cstdint>

#include "markup/dictionary_base.h"
#include "markup/doc_element.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

class Token {
  public:
    Token() = default;
    virtual ~Token();
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;

    virtual bool IsStartTag() const { return isStartTag != 0; }
    virtual bool IsEndTag() const { return isStartTag == 0; }
    virtual std::uint32_t SetEndLine(std::uint32_t line) { return endLine = line; }

    // Both lines become `line`; the token is not reported yet.
    void Begin(std::uint32_t line);
    // Gives the node the token's text (through its SetText) when there is one.
    void Finish(const DictionaryBase* dictionary);
    // The node's declared-empty byte; the token must have a node.
    void SetNodeEmpty(bool empty);
    // The node, which the caller now owns; the token keeps none.
    DocElement* TakeNode();

    const String& TextRef() const { return text; }
    void SetText(const String& t) { text = t; }

    String text;                  // the raw characters as scanned
    std::uint32_t line = 0;       // the line count where the token began
    std::uint32_t endLine = 0;    // and where it ended
    DocElement* node = nullptr;   // the node made for the token; not owned by the token
    std::uint32_t reported = 0;   // 1 once a diagnostic was recorded for it
    std::uint32_t isStartTag = 1; // 0 for end tags only
    std::uint32_t typeId = 0;     // the element or node type id
    String name;                  // element name, keyword, instruction target or entity reference
};

// The first token of a document: the document node, whatever its fields.
class InitialToken : public Token {
  public:
    explicit InitialToken(InStream* stream) : stream(stream) {}

    bool IsStartTag() const override { return true; }
    bool IsEndTag() const override { return false; }

    InStream* stream;  // not owned
};

}  // namespace markup
