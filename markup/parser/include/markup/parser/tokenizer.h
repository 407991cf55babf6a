// Tokenizer: the bytes of an HTML or XML document as tokens, one per call.
//
// While it scans it already makes each token's document-tree node through
// the tree's node factory, looks element, attribute and entity names up in
// the tree's dictionary (learning unknown names in an open dictionary in XML
// mode), hangs the attributes on their element's node and switches the
// tree's dictionary on a DOCTYPE declaration or an XML declaration. It is a
// character-driven state machine with one character of push-back over a
// 4096-byte buffer, and reports its problems as parse diagnostics.
//
// Lines are counted from 0; every byte 10 or 13 counts one (so CR LF counts
// two). A byte 0 ends the input there, with diagnostic 40.
//
// Tokens and their nodes: NextToken's token belongs to the tokenizer until
// the next call. Its node passes to whoever takes it (Token::TakeNode, or
// reading `node` and clearing it); a node still on the token when the
// tokenizer drops the token is deleted with it.
#pragma once

#include <cstdint>
#include <memory>
#include <array>
#include <string>

#include "markup/doc_tree.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/input_decoder.h"
#include "markup/parser/parse_diagnostics.h"
#include "markup/parser/subset_entities.h"
#include "markup/parser/token.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

// What the tokenizer tells the tree builder: an XML declaration switched
// the document to XML mode.
class XmlModeListener {
  public:
    virtual ~XmlModeListener();
    virtual void EnterXmlMode() = 0;
};

class Tokenizer : public ParseErrorHandler {
  public:
    static constexpr std::uint32_t kBufferSize = 4096;
    // The packed id of the document node's address attribute (72 x 65536 + 157).
    static constexpr std::uint32_t kAddressAttributeId = 4718749;

    // The scanning states.
    enum State : std::uint32_t {
        kStateInitial = 0,
        kStateWhitespace = 1,
        kStateText = 2,
        kStateEntity = 3,
        kStateTokenStart = 4,
        kStateAttributeValue = 5,
        kStateAttributeList = 6,
        kStateAttributeName = 7,
        kStateEndTag = 8,
        kStateServerBlock = 9,
        kStateAfterAttributeName = 10,
        kStateInstruction = 11,
        kStateDeclaration = 12,
        kStateInputEnded = 13,
        kStateFinished = 14,
    };

    Tokenizer();
    ~Tokenizer() override;

    // Binds a document: the stream (open for reading), the listener for the
    // switch to XML mode (may be null), the tree whose factory makes the
    // nodes and whose dictionary is used (may be null: then no nodes), the
    // document's name (its local path: the DOCTYPE loader resolves relative
    // system ids against it) and the XML flag. InvalidArgumentFault when a
    // stream is bound already.
    void Begin(InStream* stream, XmlModeListener* builder, DocTree* tree, const String& name,
               std::uint32_t xmlMode);
    // Unbinds the document.
    void Reset();

    // The next token, or null at the end (and once more after it); a call
    // after that raises InvalidArgumentFault. Fatal diagnostics raise their
    // faults: a stream that fails to read raises ReadFault.
    Token* NextToken();

    // The tree's current dictionary; null without a tree or dictionary.
    Dictionary* GetDictionary() const { return tree_ ? dictionaryCast_(tree_->Dictionary()) : nullptr; }

    // Whether an element's node keeps its whole tag's text (the default) or
    // only the text up to the end of its written name: a reader that never
    // asks for the rest (the SVG import) keeps a document's tags once, in
    // their attributes. Elements the dictionary does not name keep it all,
    // since their text names them.
    void SetKeepTagTexts(bool keep) { keepTagTexts_ = keep; }

    std::uint32_t DocumentKind() const { return documentKind_; }
    std::uint32_t XmlMode() const { return xmlMode_; }
    std::uint32_t State() const { return state_; }
    std::uint32_t Line() const { return line_; }
    Token* CurrentToken() const { return token_; }

  private:
    // Reading. A plain character of the buffer is taken inline; push-back,
    // line ends, a NUL, refills and the end go the long way.
    unsigned char ReadChar() {
        if (readPos_ < available_ && !pushback_ && !inputEnded_) {
            const unsigned char c = buffer_[readPos_];
            if (c > '\r') {
                ++readPos_;
                return c;
            }
        }
        return ReadCharSlowly();
    }
    unsigned char ReadCharSlowly();
    // The dictionary gives the element its name (DocElement::GetName does
    // not read its text).
    bool NamedByDictionary(const DocElement& element);
    // Appends c and the characters after it to `out` while keep(c) holds;
    // answers the first character it does not hold for. A run of plain
    // characters in the buffer (those ReadChar would hand out inline) is
    // taken whole rather than one call at a time.
    template <class Keep>
    unsigned char TakeWhile(unsigned char c, std::string& out, Keep keep) {
        while (keep(c)) {
            out += static_cast<char>(c);
            if (!pushback_ && !inputEnded_) {
                std::uint32_t end = readPos_;
                while (end < available_ && buffer_[end] > '\r' && keep(buffer_[end])) ++end;
                out.append(reinterpret_cast<const char*>(buffer_.get() + readPos_), end - readPos_);
                readPos_ = end;
            }
            c = ReadChar();
        }
        return c;
    }
    void PushBack(unsigned char c) {
        if (c) pushback_ = c;
    }
    bool Ended() const { return inputEnded_; }
    void EndInput();

    // Tokens.
    // The token every call but the first hands out, emptied: its texts keep
    // their buffers from token to token.
    Token* FreshToken();
    Token* MakeInitialToken();
    void DropToken();
    void CommitText();
    // Reports on the current token (and on the attribute, when given).
    void Diagnose(std::uint32_t code, const Attribute* attribute = nullptr);
    DocElement* MakeNode(std::uint32_t typeId, const String& name);
    void SetTokenNode(std::uint32_t typeId, const String& name, bool declaredEmpty);
    void Dispatch(unsigned char c);

    // The state handlers; c is the character that led into the state.
    void ScanWhitespace(unsigned char c);
    void ScanText(unsigned char c);
    void ScanEntity(unsigned char c);
    void ScanTokenStart(unsigned char c);
    void ScanAttributeValue(unsigned char c);
    void ScanAttributeList(unsigned char c);
    void ScanAttributeName(unsigned char c);
    void ScanEndTag(unsigned char c);
    void ScanServerBlock(unsigned char c);
    void ScanAfterAttributeName(unsigned char c);
    void ScanInstruction(unsigned char c);
    void ScanDeclaration(unsigned char c);

    // Parts of the handlers.
    void EndStartTag();
    // The "<%" ... "%>" block whose "<%" was just read.
    std::string ReadServerBlock();
    bool DecodeCharacterReference(const std::string& reference);
    // "&name;" (reference) of the subset or a predefined entity the
    // dictionary lacks, expanded into the text run; false when it is none.
    bool ExpandDeclaredEntity(const std::string& reference);
    // Entity and character references of an attribute value, in place.
    void ExpandAttributeReferences(std::string& value);
    // The expansion budget is spent: one diagnostic a document.
    void DiagnoseEntityLimit();
    // The input ends inside a construct of the current token ("a comment"):
    // the first one noted is told when the token ends, with the line it
    // opened on.
    void NoteUnterminated(const char* construct) {
        if (!unterminated_) unterminated_ = construct;
    }
    void NoteUnterminatedState();
    void DiagnoseUnterminated();
    void ScanComment();
    void ScanCData(unsigned char c);
    std::uint32_t ElementId(const std::string& lookup);
    void AddAttribute(const String& value, bool valueless, bool atTagEnd);
    std::uint32_t AttributeId(const String& name, bool valueless, bool& unknownReported);
    // The bytes in a String kept for reuse: names and values pass to the
    // dictionary and the attributes without a buffer made for each.
    static const String& Reused(String& into, const std::string& bytes);
    // Names found in the dictionary, each with the element type id it was
    // looked up for (kNoElement for an element name): a found name keeps its
    // id while the dictionary does (learning only adds names after those
    // already there), so a document's many repeats skip the search.
    // The memory is a small table of two places per hash of the pair, the
    // one used last first: a pair finding both taken pushes out the older,
    // which is searched again when it comes back.
    static constexpr std::uint32_t kNoElement = 0xFFFFFFFF;
    struct FoundName {
        std::uint32_t elementId = 0;
        std::uint32_t id = 0;
        bool used = false;
        std::string name;
    };
    static constexpr std::size_t kFoundSlots = 256;
    // The first of the pair's two places.
    FoundName* FoundPlaces(std::uint32_t elementId, const std::string& name);
    bool KnownId(std::uint32_t elementId, const std::string& name, std::uint32_t& id);
    void RememberId(std::uint32_t elementId, const std::string& name, std::uint32_t id);
    void ForgetFoundIds();
    std::uint32_t LearnAttribute(const String& name);
    // Once a parse: a new name found the learned ids all taken.
    void DiagnoseDictionaryFull();
    void SwitchToXml();
    void LoadDoctype();
    void InstallDictionary(Dictionary* dictionary);

    std::uint32_t documentKind_ = 2;
    InStream* stream_ = nullptr;
    std::unique_ptr<unsigned char[]> buffer_;
    std::uint32_t readPos_ = 0;
    std::uint32_t available_ = 0;
    std::uint32_t bufferSize_ = kBufferSize;
    // Converts a document in another encoding to UTF-8 as it is read.
    detail::InputDecoder decoder_;
    Token* token_ = nullptr;
    std::uint32_t state_ = kStateInitial;
    bool tokenReady_ = false;
    bool keepTagTexts_ = true;
    // The text's length at the end of a start tag's name.
    std::uint32_t nameEnd_ = 0;
    std::uint32_t selfClosing_ = 0;
    unsigned char pushback_ = 0;
    std::uint32_t line_ = 0;
    DocTree* tree_ = nullptr;
    XmlModeListener* treeBuilder_ = nullptr;
    std::unique_ptr<DictionaryEditor> editor_;
    std::uint32_t xmlMode_ = 0;
    String documentName_;
    std::string attributeName_;

    // Once the input ended every read answers the end, whatever state a
    // handler leaves behind.
    bool inputEnded_ = false;
    // The raw text of the current token, kept here while it grows (a String
    // grows by a fixed step, a long text would be copied over and over).
    std::string text_;
    // The tag being scanned is an "xml-stylesheet" instruction.
    bool inInstruction_ = false;
    // The tree's dictionary came from the registry during this document, so
    // a switch gives its use back; the one the caller started with is the
    // caller's.
    bool ownsDictionaryUse_ = false;
    DictionaryCast dictionaryCast_;
    Token plainToken_;
    String nameScratch_;
    String valueScratch_;
    std::string attributeValue_;
    std::array<FoundName, kFoundSlots> foundIds_;
    detail::SubsetEntities entities_;
    const char* unterminated_ = nullptr;
    bool entityLimitReported_ = false;
    bool dictionaryFullReported_ = false;
    // A start tag was read: a DOCTYPE after it is out of place.
    bool elementSeen_ = false;
    const Dictionary* foundIn_ = nullptr;
};

}  // namespace markup
