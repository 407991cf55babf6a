// Attribute definitions of markup dictionaries and CSS property definitions.
//
// A definition names an attribute (or property), carries its id and owns its
// value type. HTMLAttributeDef adds how its default is declared and its
// declared value type; CSSAttributeDef adds the words the CSS engine reads.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/parser/attribute_type.h"
#include "markup/parser/id_list.h"
#include "markup/return_codes.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

class Dictionary;

// Declared-type codes that change how values compare.
enum DeclaredType : std::uint32_t {
    kDeclaredWithCase = 2,         // values compare with case
    kDeclaredCaseByAttribute = 4,  // with case when attribute kCaseAttributeId accepts the value
    kDeclaredList = 5,             // a comma-separated list
    kDeclaredUnique = 6,           // unique among earlier like siblings
};

// The attribute whose check decides case for declared type 4.
constexpr std::uint32_t kCaseAttributeId = 6881450;

class AttributeDef {
  public:
    AttributeDef() = default;
    virtual ~AttributeDef() = default;
    AttributeDef(const AttributeDef&) = delete;
    AttributeDef& operator=(const AttributeDef&) = delete;

    // The definition's record; the dictionary may be null.
    ReturnCodeEnum Read(InStream& stream, Dictionary* dictionary);
    ReturnCodeEnum Write(OutStream& stream) const;
    virtual ReturnCodeEnum AfterLoad() { return kErr_None; }
    virtual bool IsCSS() const = 0;
    virtual bool HasDefault() const = 0;
    // The declared-type code that the group match reads; 0 outside markup
    // dictionaries.
    virtual std::uint32_t DeclaredTypeCode() const { return 0; }
    virtual std::unique_ptr<AttributeDef> Clone() const = 0;

    // Copies id and names and gives this definition a type of the other's
    // kind assigned from the other's (none when the other has none); a
    // definition of the same class copies its own fields too.
    virtual void Assign(const AttributeDef& other);

    std::uint32_t Id() const { return id_; }
    void SetId(std::uint32_t id) { id_ = id; }
    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    const String& SecondName() const { return secondName_; }
    void SetSecondName(const String& name) { secondName_ = name; }
    // Null when the definition has no value type.
    const AttributeType* Type() const { return type_.get(); }
    AttributeType* Type() { return type_.get(); }
    // Replaces the value type by a new, empty one of the kind (none for a
    // kind outside 1 to 3) and answers it.
    AttributeType* SetTypeKind(std::uint32_t kind);

  protected:
    // Each throws the stream status.
    virtual void ReadFields(InStream& stream, Dictionary* dictionary);
    virtual void WriteFields(OutStream& stream) const;

  private:
    std::uint32_t id_ = 0;
    String name_;
    String secondName_;
    std::unique_ptr<AttributeType> type_;
};

class HTMLAttributeDef : public AttributeDef {
  public:
    bool IsCSS() const override { return false; }
    // Default kinds 1 (a default literal) and 2 (a fixed literal).
    bool HasDefault() const override { return defaultKind_ == 1 || defaultKind_ == 2; }
    std::uint32_t DeclaredTypeCode() const override { return declaredType_; }
    std::unique_ptr<AttributeDef> Clone() const override;

    void Assign(const AttributeDef& other) override;

    std::uint32_t DefaultKind() const { return defaultKind_; }
    void SetDefaultKind(std::uint32_t kind) { defaultKind_ = kind; }
    std::uint32_t DeclaredType() const { return declaredType_; }
    void SetDeclaredType(std::uint32_t code) { declaredType_ = code; }

  protected:
    void ReadFields(InStream& stream, Dictionary* dictionary) override;
    void WriteFields(OutStream& stream) const override;

  private:
    std::uint32_t defaultKind_ = 0;
    std::uint32_t declaredType_ = 0;
};

// A CSS property. The dictionary stores word A, the definition's own word
// list, word B and flag B for the CSS engine and hands them out unchanged;
// the CSS dictionary's table says what it keeps in them (word A the way the
// property's values are read, the word list a shorthand's member
// properties).
class CSSAttributeDef : public AttributeDef {
  public:
    bool IsCSS() const override { return true; }
    bool HasDefault() const override { return flagA_ != 0; }
    std::unique_ptr<AttributeDef> Clone() const override;

    void Assign(const AttributeDef& other) override;

    std::uint32_t WordA() const { return wordA_; }
    void SetWordA(std::uint32_t word) { wordA_ = word; }
    // The definition's own word list (the record's "format count" and
    // words), not the value type's format words.
    const IdList& DefinitionWords() const { return words_; }
    void AddDefinitionWord(std::uint32_t word) { words_.Add(word); }
    std::uint8_t FlagA() const { return flagA_; }
    void SetFlagA(std::uint8_t flag) { flagA_ = flag; }
    std::uint32_t WordB() const { return wordB_; }
    void SetWordB(std::uint32_t word) { wordB_ = word; }
    std::uint8_t FlagB() const { return flagB_; }
    void SetFlagB(std::uint8_t flag) { flagB_ = flag; }

  protected:
    void ReadFields(InStream& stream, Dictionary* dictionary) override;
    void WriteFields(OutStream& stream) const override;

  private:
    std::uint32_t wordA_ = 0;
    IdList words_;
    std::uint8_t flagA_ = 0;
    std::uint32_t wordB_ = 0;
    std::uint8_t flagB_ = 0;
};

}  // namespace markup
