// Element definitions, element groups and named values of a dictionary.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/parser/content_symbol.h"
#include "markup/parser/id_list.h"
#include "markup/return_codes.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

class Dictionary;

// What an element is called, which attributes it takes and what it may
// hold. The allowed children are the ids the content model names followed
// by the extra children of the record.
class ElementDef {
  public:
    ElementDef() = default;
    virtual ~ElementDef() = default;
    ElementDef(const ElementDef&) = delete;
    ElementDef& operator=(const ElementDef&) = delete;

    // The definition's record. The dictionary supplies the members of the
    // groups the model names; a group it lacks adds no ids.
    ReturnCodeEnum Read(InStream& stream, const Dictionary& dictionary);
    ReturnCodeEnum Write(OutStream& stream) const;

    // Copies everything; the model is copied deeply and the lists afresh.
    void Assign(const ElementDef& other);
    std::unique_ptr<ElementDef> Clone() const;

    void AddAttribute(std::uint32_t attributeId) { attributes_.Add(attributeId); }
    bool TakesAttribute(std::uint32_t attributeId) const { return attributes_.Contains(attributeId); }
    // True when the child is allowed and not excluded, or not allowed but
    // included (the inclusions and exclusions the open ancestors gathered).
    bool AllowsChild(std::uint32_t childId, const IdList& inclusions, const IdList& exclusions) const;
    // Whether the id is among the extra children (those the model does not
    // name, allowed wherever the element's content stands).
    bool IsExtraChild(std::uint32_t childId) const;
    // Nothing may stand inside: a model declared EMPTY, or no model and no
    // allowed child. A model declared ANY takes every child.
    bool TakesNoContent() const;

    // Sets the model (null for none) and rebuilds the allowed children: the
    // model's ids, then the extra children kept so far.
    void SetModel(std::unique_ptr<ContentSymbol> model, const Dictionary& dictionary);
    // An id allowed beyond those the model names.
    void AddExtraChild(std::uint32_t childId) { allowedChildren_.Add(childId); }
    void AddInclusion(std::uint32_t id) { inclusions_.Add(id); }
    void AddExclusion(std::uint32_t id) { exclusions_.Add(id); }

    std::uint32_t Id() const { return id_; }
    void SetId(std::uint32_t id) { id_ = id; }
    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    const String& SecondName() const { return secondName_; }
    void SetSecondName(const String& name) { secondName_ = name; }
    // Flags 1 and 3 guide the search for an element to imply, flag 2 the
    // tree builder; index 0 to 2.
    std::uint8_t Flag(int index) const { return flags_[index]; }
    void SetFlag(int index, std::uint8_t value) { flags_[index] = value; }
    std::uint32_t Word() const { return word_; }
    void SetWord(std::uint32_t word) { word_ = word; }
    const ContentSymbol* Model() const { return model_.get(); }
    const IdList& Attributes() const { return attributes_; }
    // The required ones among them (default kind 3 in the dictionary's
    // definitions), each once. Kept between calls: only the ids added since
    // are looked up, so that an element type that learned many attributes
    // costs nothing per element checked.
    const IdList& RequiredAttributes(const Dictionary& dictionary) const;
    const IdList& AllowedChildren() const { return allowedChildren_; }
    // How many of the allowed children came from the model.
    std::uint32_t ModelIdCount() const { return modelIdCount_; }
    const IdList& Inclusions() const { return inclusions_; }
    const IdList& Exclusions() const { return exclusions_; }

  private:
    void ReadFields(InStream& stream, const Dictionary& dictionary);
    void WriteFields(OutStream& stream) const;

    std::uint32_t id_ = 0;
    String name_;
    String secondName_;
    std::uint8_t flags_[3] = {0, 0, 0};
    IdList attributes_;
    std::uint32_t word_ = 0;
    std::unique_ptr<ContentSymbol> model_;
    IdList allowedChildren_;
    std::uint32_t modelIdCount_ = 0;
    IdList inclusions_;
    IdList exclusions_;
    mutable IdList required_;
    mutable std::uint32_t requiredSeen_ = 0;  // how many of attributes_ required_ has looked at
    mutable const Dictionary* requiredIn_ = nullptr;
};

// A class of elements. Class 23 holds the elements allowed in any content;
// class 1 stands for every element of the dictionary whatever its members.
class ElementGroup {
  public:
    static constexpr std::uint32_t kAllElements = 1;
    static constexpr std::uint32_t kAnywhere = 23;

    ElementGroup() = default;
    ElementGroup(std::uint32_t groupClass, const String& name) : class_(groupClass), name_(name) {}
    virtual ~ElementGroup() = default;

    ReturnCodeEnum Read(InStream& stream);
    ReturnCodeEnum Write(OutStream& stream) const;

    std::uint32_t GroupClass() const { return class_; }
    void SetGroupClass(std::uint32_t groupClass) { class_ = groupClass; }
    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    const IdList& Members() const { return members_; }
    void AddMember(std::uint32_t id) { members_.Add(id); }

  private:
    std::uint32_t class_ = 0;
    String name_;
    IdList members_;
};

// A named value. Format words beyond the built-in ones name a value of
// their id whose text is the pattern the value must match.
class ValueDef {
  public:
    ValueDef() = default;
    ValueDef(std::uint32_t id, const String& name, const String& text) : id_(id), name_(name), text_(text) {}
    virtual ~ValueDef() = default;

    ReturnCodeEnum Read(InStream& stream);
    ReturnCodeEnum Write(OutStream& stream) const;

    std::uint32_t Id() const { return id_; }
    const String& Name() const { return name_; }
    // The second text; for a format, its pattern.
    const String& Text() const { return text_; }

  private:
    std::uint32_t id_ = 0;
    String name_;
    String text_;
};

}  // namespace markup
