// Content-model symbols: the stored tree that says what an element may hold.
//
// A model is a tree of symbols: connectives (all, choice, sequence) over
// element symbols, group symbols (any member of an element group), the text
// symbol and the bare base symbol (EMPTY or ANY by its occurrence). Each
// symbol carries an occurrence code. The .dic files hold the tree as nested
// records (kind word, then the kind's fields); the live matcher of the
// content validator walks it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "markup/parser/id_list.h"
#include "markup/return_codes.h"
#include "markup/stream.h"

namespace markup {

class Dictionary;

// Kind words of the symbol records.
enum ContentKind : std::uint32_t {
    kSymbolBase = 0,
    kSymbolConnective = 1,
    kSymbolGroup = 2,
    kSymbolElement = 3,
    kSymbolText = 4,
};

// How often a symbol may occur.
enum Occurrence : std::uint32_t {
    kOccurNever = 0,      // count 0 only
    kOccurOnce = 1,       // exactly 1
    kOccurOptional = 2,   // "?": 0 or 1
    kOccurAny = 3,        // "*": any count
    kOccurOneOrMore = 4,  // "+": 1 or more
};

// How a connective joins its children.
enum Connector : std::uint32_t {
    kConnectAll = 0,       // every child, in any order
    kConnectChoice = 1,    // one of the children
    kConnectSequence = 2,  // the children in order
};

// The element id that stands for text content.
constexpr std::uint32_t kTextElementId = 160;

// Deepest nesting of connectives a model may have. A file whose model nests
// deeper is refused (kErr_StreamInvalidFile): every walk of a model recurses
// once per level. Builders of models in code keep to it as well.
constexpr std::uint32_t kMaxContentDepth = 200;

// Whether an occurrence code allows count occurrences; unknown codes allow
// nothing.
bool OccurrenceAllows(std::uint32_t occurrence, std::uint32_t count);

class ContentSymbol;

// The bare base symbol stands for ANY with occurrence "*" and for EMPTY with
// any other occurrence (the DTD compiler writes 1).
bool DeclaresAnyContent(const ContentSymbol& symbol);
bool DeclaresEmptyContent(const ContentSymbol& symbol);

class ContentSymbol {
  public:
    // What CollectIds does about a group symbol whose group the dictionary
    // lacks: raise InvalidArgumentFault, or add nothing (the .dic reader).
    enum class MissingGroup { Fault, Skip };

    ContentSymbol(std::uint32_t position, std::uint32_t occurrence)
        : position_(position), occurrence_(occurrence) {}
    virtual ~ContentSymbol() = default;
    ContentSymbol(const ContentSymbol&) = delete;
    ContentSymbol& operator=(const ContentSymbol&) = delete;

    // The record after the kind word (which the caller read to choose the
    // class); answers the first failing stream status, or kErr_None.
    ReturnCodeEnum Read(InStream& stream);
    // The kind word, then the record.
    ReturnCodeEnum Write(OutStream& stream) const;

    virtual std::uint32_t Kind() const { return kSymbolBase; }
    // This symbol and every symbol below it.
    virtual std::uint32_t CountSymbols() const { return 1; }
    // The element ids the model names, depth first in child order (text as
    // kTextElementId, a group as its members).
    void CollectIds(IdList& ids, const Dictionary& dictionary,
                    MissingGroup missing = MissingGroup::Fault) const {
        Collect(ids, dictionary, missing);
    }
    // Whether the symbol may match no element at all.
    virtual bool IsOptional() const;
    // Copies position and occurrence, and the kind's own fields when the
    // other is of the same kind (a connective copies its children deeply);
    // otherwise the own fields take their defaults.
    virtual void Assign(const ContentSymbol& other);
    // A deep copy of the same kind.
    virtual std::unique_ptr<ContentSymbol> Clone() const;

    // A symbol of the kind with its default occurrence: 3 for connectives,
    // groups and text, 1 for element and base symbols.
    static std::unique_ptr<ContentSymbol> Create(std::uint32_t kind, std::uint32_t position);

    std::uint32_t Position() const { return position_; }
    std::uint32_t OccurrenceCode() const { return occurrence_; }
    void SetPosition(std::uint32_t position) { position_ = position; }
    void SetOccurrence(std::uint32_t occurrence) { occurrence_ = occurrence; }

  protected:
    virtual void Collect(IdList& ids, const Dictionary& dictionary, MissingGroup missing) const;
    // Read the fields after the kind word; throw the stream status. depth is
    // the number of connectives above this symbol.
    virtual void ReadFields(InStream& stream, std::uint32_t depth);
    virtual void WriteFields(OutStream& stream) const;

  private:
    friend class LogicalConnective;

    std::uint32_t position_;
    std::uint32_t occurrence_;
};

class LogicalConnective : public ContentSymbol {
  public:
    explicit LogicalConnective(std::uint32_t position = 0)
        : ContentSymbol(position, kOccurAny), connector_(kConnectChoice) {}

    std::uint32_t Kind() const override { return kSymbolConnective; }
    std::uint32_t CountSymbols() const override;
    bool IsOptional() const override;
    void Assign(const ContentSymbol& other) override;

    std::uint32_t ConnectorCode() const { return connector_; }
    void SetConnector(std::uint32_t connector) { connector_ = connector; }
    std::uint32_t ChildCount() const { return static_cast<std::uint32_t>(children_.size()); }
    // Null past the count.
    const ContentSymbol* ChildAt(std::uint32_t index) const;
    // Appends a deep copy of the child.
    void AddChild(const ContentSymbol& child);
    // Appends the child itself.
    void AdoptChild(std::unique_ptr<ContentSymbol> child);

  protected:
    void Collect(IdList& ids, const Dictionary& dictionary, MissingGroup missing) const override;
    void ReadFields(InStream& stream, std::uint32_t depth) override;
    void WriteFields(OutStream& stream) const override;

  private:
    std::vector<std::unique_ptr<ContentSymbol>> children_;
    std::uint32_t connector_;
};

class GroupSymbol : public ContentSymbol {
  public:
    explicit GroupSymbol(std::uint32_t position = 0) : ContentSymbol(position, kOccurAny) {}

    std::uint32_t Kind() const override { return kSymbolGroup; }
    void Assign(const ContentSymbol& other) override;

    std::uint32_t GroupClass() const { return groupClass_; }
    void SetGroupClass(std::uint32_t groupClass) { groupClass_ = groupClass; }

  protected:
    void Collect(IdList& ids, const Dictionary& dictionary, MissingGroup missing) const override;
    void ReadFields(InStream& stream, std::uint32_t depth) override;
    void WriteFields(OutStream& stream) const override;

  private:
    std::uint32_t groupClass_ = 0;
};

class ElementSymbol : public ContentSymbol {
  public:
    explicit ElementSymbol(std::uint32_t position = 0) : ContentSymbol(position, kOccurOnce) {}

    std::uint32_t Kind() const override { return kSymbolElement; }
    void Assign(const ContentSymbol& other) override;

    std::uint32_t ElementId() const { return elementId_; }
    void SetElementId(std::uint32_t id) { elementId_ = id; }

  protected:
    void Collect(IdList& ids, const Dictionary& dictionary, MissingGroup missing) const override;
    void ReadFields(InStream& stream, std::uint32_t depth) override;
    void WriteFields(OutStream& stream) const override;

  private:
    std::uint32_t elementId_ = 0;
};

// #PCDATA.
class PCDataSymbol : public ContentSymbol {
  public:
    explicit PCDataSymbol(std::uint32_t position = 0) : ContentSymbol(position, kOccurAny) {}

    std::uint32_t Kind() const override { return kSymbolText; }
    void Assign(const ContentSymbol& other) override;

    // Stored and handed on; the builders set it to 1.
    std::uint8_t Flag() const { return flag_; }
    void SetFlag(std::uint8_t flag) { flag_ = flag; }

  protected:
    void Collect(IdList& ids, const Dictionary& dictionary, MissingGroup missing) const override;
    void ReadFields(InStream& stream, std::uint32_t depth) override;
    void WriteFields(OutStream& stream) const override;

  private:
    std::uint8_t flag_ = 1;
};

}  // namespace markup
