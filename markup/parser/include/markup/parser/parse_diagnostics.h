// Parse diagnostics: the numbered problems that the tokenizer, the tree
// builder and the parser record while a document is read.
//
// Problems are recorded, not thrown: one list, shared by the three
// reporters of a parse, travels with the finished document tree. It holds at
// most 50 entries, and at most one entry per token. Only the fatal codes end
// the parse, by raising a fault.
#pragma once

#include <cstdint>
#include <string>

#include "markup/attribute.h"
#include "markup/containers.h"
#include "markup/dictionary_base.h"
#include "markup/doc_element.h"
#include "markup/extra_object.h"
#include "markup/string.h"

namespace markup {

class Token;

// The diagnostic codes. 2 to 6 are fatal; the others are recorded and the
// parse goes on.
enum ParseDiagnostic : std::uint32_t {
    kDiag_InputFailed = 2,            // fatal (ReadFault)
    kDiag_OutOfMemory = 3,            // fatal (MemoryAllocationFault)
    kDiag_ReadFailed = 4,             // the document stream failed to read (fatal, ReadFault)
    kDiag_UndefinedState = 5,         // the tokenizer is in an undefined state (fatal, LogicFault)
    kDiag_Internal = 6,               // fatal (LogicFault)
    kDiag_RequiredAdded = 9,          // a required attribute was missing and added with its default
    kDiag_ClosedImplicitly = 12,      // an open element was closed implicitly
    kDiag_StartImplied = 13,          // an omitted start tag was implied
    kDiag_UndeclaredAttribute = 19,   // an attribute not declared for the element
    kDiag_AttributeValue = 20,        // an attribute value its type rejects
    kDiag_NoPlace = 21,               // the element has no place among the open elements
    kDiag_StrayEndTag = 22,           // an end tag that matches no open element
    kDiag_NoAddress = 24,             // the document's name does not map back to its address
    kDiag_UnknownEntity = 25,         // an unknown entity, or a reference without its ";"
    kDiag_UnknownAttribute = 27,      // an attribute name the element's definition lacks
    kDiag_ValuelessAtTagEnd = 31,     // an attribute without a value ends a tag
    kDiag_ContentRepaired = 32,       // the content of a closed element was repaired
    kDiag_OmissibleImplied = 35,      // an implied element whose start tag may be omitted
    kDiag_EmptyNotClosed = 38,        // XML: an element declared empty not written with "/>"
    kDiag_ContentSelfClosed = 39,     // XML: an element declared with content written with "/>"
    kDiag_NulByte = 40,               // a byte 0 ended the input before the end of the stream
    kDiag_CharacterTooWide = 41,      // a character reference the text cannot hold, kept as written
    kDiag_SheetTooLarge = 42,         // a linked style sheet too large to read, skipped
    kDiag_LinkedFileRefused = 43,     // an external DTD or linked sheet refused unopened (value: why)
    kDiag_EntityLimit = 44,           // entity expansion past its bound; the reference kept as written
    kDiag_InputEndsInside = 45,       // the input ended inside a tag, value, comment, CDATA or instruction
    kDiag_DictionaryFull = 46,        // the open dictionary has no id left for a new name; it stays unknown
    kDiag_DoctypeAfterElement = 47,   // a DOCTYPE after the first element: kept, not applied
};

// One diagnostic.
struct ErrorSpec {
    std::uint32_t code = 0;
    std::uint32_t line = 0;     // where the offending token began; 0 without a token
    std::uint32_t endLine = 0;  // where it ended; 0 without a token
    String context;             // the token's raw text
    String element;             // the element's name, upper-cased
    String attribute;           // the attribute's name, upper-cased
    String value;               // the element's own text or the attribute's value
    std::uint8_t isWarning = 0;
};

using ErrorList = Vector<ErrorSpec>;

// Reports into the list installed with SetErrors. Every slot first lets
// CheckFatal raise the fault of a fatal code, whatever the list holds. Then
// nothing is recorded when the list is full or, for the slots given a token,
// when the token already has its diagnostic; otherwise the token is marked
// and one entry recorded. Control characters (0 to 31) in the recorded
// texts become blanks.
class ParseErrorHandler {
  public:
    static constexpr std::uint32_t kMaxErrors = 50;

    ParseErrorHandler() = default;
    virtual ~ParseErrorHandler();
    ParseErrorHandler(const ParseErrorHandler&) = delete;
    ParseErrorHandler& operator=(const ParseErrorHandler&) = delete;

    // Code, lines, the token's text and the warning byte.
    virtual void ReportAtToken(std::uint32_t code, Token* token, std::uint8_t isWarning);
    // Also the element's name through the dictionary and its own text. An
    // element of type 159 or with the quiet flag records nothing, and still
    // marks the token, so that later reports on it stay silent too.
    virtual void ReportOnElement(const DictionaryBase* dictionary, std::uint32_t code, Token* token,
                                 DocElement* element);
    // Also the attribute's name through the dictionary and its value.
    virtual void ReportOnAttribute(const DictionaryBase* dictionary, std::uint32_t code, Token* token,
                                   const Attribute* attribute);
    // The code alone.
    virtual void ReportCode(std::uint32_t code);
    // Code, lines and the token's text.
    virtual void Report(std::uint32_t code, Token* token);
    // Also a text of the reporter's own as the value (a path and a cause).
    virtual void ReportText(std::uint32_t code, Token* token, const String& value);
    // Raises ReadFault for 2 and 4, MemoryAllocationFault for 3, LogicFault for
    // 5 and 6; returns for every other code.
    virtual void CheckFatal(std::uint32_t code);

    // The list the reports go to; not owned. Without one nothing is recorded
    // (fatal codes still raise).
    void SetErrors(ErrorList* errors) { errors_ = errors; }
    ErrorList* Errors() const { return errors_; }

  private:
    // Raises for a fatal code; then whether an entry may be recorded, the
    // token being marked when it may.
    bool MayRecord(std::uint32_t code, Token* token);
    // Blanks, upper-cases and appends the entry.
    void Record(ErrorSpec& entry);

    ErrorList* errors_ = nullptr;
};

// A parse's diagnostics as the document tree keeps them (its option object).
class ParseDiagnostics : public ExtraObject {
  public:
    ErrorList errors;
};

// One line per entry: "CODE LINE-ENDLINE" then the texts that are not
// empty (context, element, attribute, value, quoted as the tree dump quotes)
// and "warning" when the entry is one.
std::string DumpDiagnostics(const ErrorList& errors);

}  // namespace markup
