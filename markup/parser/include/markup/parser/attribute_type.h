// Value types of attribute and CSS property definitions.
//
// A value type turns value texts into numbers and back. A group type is a
// list of enumerated values (keyword texts with an id and a number each); a
// formatted type is a list of format words (colour, integers with a unit, or
// a pattern held in the dictionary) with a format text; a group-formatted
// type is both, the group tried first. Results are the status words of
// dictionary_status.h; only the records' Read and Write deal in stream
// statuses.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "markup/parser/dictionary_status.h"
#include "markup/parser/id_list.h"
#include "markup/return_codes.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

class AttributeDef;
class Dictionary;

using NumberList = std::vector<std::int32_t>;

// The value-kind words of the records.
enum AttributeTypeKind : std::uint32_t {
    kTypeGroup = 1,
    kTypeFormatted = 2,
    kTypeGroupFormatted = 3,
};

// Format words that Format and Parse know. Any other word (but 19) names a
// pattern that the dictionary holds as a named value of that id.
enum FormatWord : std::uint32_t {
    kFormatColour = 3,            // "#rrggbb"; red in the low byte
    kFormatEn = 5,                // n >= 0, "en" appended
    kFormatMinusOne = 10,         // only -1
    kFormatNegative = 11,         // n < 0
    kFormatNegativePercent = 12,  // n < 0, "%" appended
    kFormatNonNegative = 14,      // n >= 0
    kFormatIntegerList = 15,      // n >= 0; in lists, integers joined by ","
    kFormatPercent = 16,          // n >= 0, "%" appended
    kFormatPixels = 17,           // n >= 0, "pixels" appended
    kFormatURL = 19,              // checked as a URL
};

class AttributeType {
  public:
    explicit AttributeType(const AttributeDef* owner) : owner_(owner) {}
    virtual ~AttributeType() = default;
    AttributeType(const AttributeType&) = delete;
    AttributeType& operator=(const AttributeType&) = delete;

    // The type record of the .dic files; Read replaces what the type held.
    ReturnCodeEnum Read(InStream& stream);
    ReturnCodeEnum Write(OutStream& stream) const;
    virtual ReturnCodeEnum AfterLoad() { return kErr_None; }
    // Copies the parts of the other type that this kind has.
    virtual void Assign(const AttributeType& other) = 0;
    virtual std::uint32_t Kind() const = 0;
    // Whether the value is acceptable. The dictionary (may be null) supplies
    // the patterns of pattern formats and the case rule of declared type 4.
    virtual bool Check(const String& value, const Dictionary* dictionary) const = 0;
    virtual DictStatus Format(String& text, std::int32_t number) const = 0;
    virtual DictStatus ParseWithDictionary(std::int32_t& number, const String& text,
                                           const Dictionary* dictionary) const = 0;
    virtual DictStatus Parse(std::int32_t& number, const String& text,
                             const Dictionary* dictionary) const = 0;
    virtual DictStatus FormatList(String& text, const NumberList& numbers) const = 0;
    // Appends to the list.
    virtual DictStatus ParseList(NumberList& numbers, const String& text,
                                 const Dictionary* dictionary) const = 0;
    virtual DictStatus DefaultText(String& text) const = 0;

    // A type of that kind owned by the definition; null for any other kind.
    static std::unique_ptr<AttributeType> Create(std::uint32_t kind, const AttributeDef* owner);
    // A copy of the same kind for another owner.
    std::unique_ptr<AttributeType> Clone(const AttributeDef* owner) const;

    const AttributeDef* Owner() const { return owner_; }
    void SetOwner(const AttributeDef* owner) { owner_ = owner; }

  protected:
    virtual void ReadFields(InStream& stream) = 0;
    virtual void WriteFields(OutStream& stream) const = 0;

  private:
    const AttributeDef* owner_;
};

class AttributeTypeGroup : public virtual AttributeType {
  public:
    struct ValueUserPair {
        std::uint32_t valueId = 0;   // the enumerated value's id (a keyword id in the CSS dictionary)
        String value;                // the text as written in documents
        std::int32_t userValue = 0;  // the value's number
        String userText;             // a text shown for the value
    };

    explicit AttributeTypeGroup(const AttributeDef* owner) : AttributeType(owner) {}

    void Assign(const AttributeType& other) override;
    std::uint32_t Kind() const override { return kTypeGroup; }
    bool Check(const String& value, const Dictionary* dictionary) const override;
    DictStatus Format(String& text, std::int32_t number) const override;
    DictStatus ParseWithDictionary(std::int32_t& number, const String& text,
                                   const Dictionary* dictionary) const override;
    DictStatus Parse(std::int32_t& number, const String& text, const Dictionary* dictionary) const override;
    DictStatus FormatList(String& text, const NumberList& numbers) const override;
    DictStatus ParseList(NumberList& numbers, const String& text,
                         const Dictionary* dictionary) const override;
    DictStatus DefaultText(String& text) const override;

    // The group match: the index of the pair the value matches, or the
    // default index with kDict_NoMatch. The owner's declared type decides
    // case (2: with case; 4: with case when the dictionary's attribute
    // 6881450 accepts the value) and lists (5: comma-separated items, each
    // trimmed, all of which must match; the last gives the index).
    DictStatus Match(std::uint32_t& index, const String& value, const Dictionary* dictionary) const;

    std::uint32_t PairCount() const { return static_cast<std::uint32_t>(pairs_.size()); }
    // Null past the count.
    const ValueUserPair* PairAt(std::uint32_t index) const;
    void AddPair(const ValueUserPair& pair);
    std::uint32_t DefaultIndex() const { return defaultIndex_; }
    void SetDefaultIndex(std::uint32_t index) { defaultIndex_ = index; }

  protected:
    void ReadFields(InStream& stream) override;
    void WriteFields(OutStream& stream) const override;
    void AssignGroup(const AttributeType& other);

  private:
    std::vector<ValueUserPair> pairs_;
    std::uint32_t defaultIndex_ = 0;
};

class AttributeTypeFormatted : public virtual AttributeType {
  public:
    explicit AttributeTypeFormatted(const AttributeDef* owner) : AttributeType(owner) {}

    void Assign(const AttributeType& other) override;
    std::uint32_t Kind() const override { return kTypeFormatted; }
    bool Check(const String& value, const Dictionary* dictionary) const override;
    DictStatus Format(String& text, std::int32_t number) const override;
    DictStatus ParseWithDictionary(std::int32_t& number, const String& text,
                                   const Dictionary* dictionary) const override;
    DictStatus Parse(std::int32_t& number, const String& text, const Dictionary* dictionary) const override;
    DictStatus FormatList(String& text, const NumberList& numbers) const override;
    DictStatus ParseList(NumberList& numbers, const String& text,
                         const Dictionary* dictionary) const override;
    DictStatus DefaultText(String& text) const override;

    const IdList& Formats() const { return formats_; }
    void AddFormat(std::uint32_t word) { formats_.Add(word); }
    // The text a failed Format leaves, and the default text.
    const String& FormatText() const { return format_; }
    void SetFormatText(const String& text) { format_ = text; }

  protected:
    void ReadFields(InStream& stream) override;
    void WriteFields(OutStream& stream) const override;
    void AssignFormatted(const AttributeType& other);

  private:
    IdList formats_;
    String format_;
};

class AttributeTypeGroupFormatted : public AttributeTypeGroup, public AttributeTypeFormatted {
  public:
    explicit AttributeTypeGroupFormatted(const AttributeDef* owner)
        : AttributeType(owner), AttributeTypeGroup(owner), AttributeTypeFormatted(owner) {}

    void Assign(const AttributeType& other) override;
    std::uint32_t Kind() const override { return kTypeGroupFormatted; }
    bool Check(const String& value, const Dictionary* dictionary) const override;
    DictStatus Format(String& text, std::int32_t number) const override;
    DictStatus ParseWithDictionary(std::int32_t& number, const String& text,
                                   const Dictionary* dictionary) const override;
    DictStatus Parse(std::int32_t& number, const String& text, const Dictionary* dictionary) const override;
    DictStatus FormatList(String& text, const NumberList& numbers) const override;
    DictStatus ParseList(NumberList& numbers, const String& text,
                         const Dictionary* dictionary) const override;
    DictStatus DefaultText(String& text) const override;

  protected:
    void ReadFields(InStream& stream) override;
    void WriteFields(OutStream& stream) const override;
};

}  // namespace markup
