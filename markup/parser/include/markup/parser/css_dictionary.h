// CSSDictionary: the CSS properties and their keywords by numeric id.
//
// The CSS engine knows properties and keywords by the ids of its dictionary
// file (CSS.dic): a header word, then a cross-reference of CSS property
// definitions (key, index, record) in the layout of the markup dictionaries.
// Each property's value type lists its keywords (a group: keyword id, text
// and number per pair) or the CSS token types it admits (the format words),
// or both.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/parser/attribute_def.h"
#include "markup/parser/cross_reference.h"
#include "markup/parser/dictionary_status.h"
#include "markup/return_codes.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

class CSSDictionary {
  public:
    // The file name the CSS dictionary has in a dictionary folder.
    static constexpr const char* kFileName = "CSS.dic";

    // The name a dictionary made by Get carries.
    static constexpr const char* kGetName = "css.dic";

    CSSDictionary() = default;
    virtual ~CSSDictionary() = default;

    // The dictionary the holder keeps (the registry's); when it keeps none, a
    // new one loaded from kFileName in the working directory and named
    // kGetName.
    static CSSDictionary* Get(std::unique_ptr<CSSDictionary>& holder);
    CSSDictionary(const CSSDictionary&) = delete;
    CSSDictionary& operator=(const CSSDictionary&) = delete;

    // Stores the file name and reads the file. A file that cannot be opened
    // answers its open status and leaves the dictionary empty; a file that
    // fails later shows the host's message 10007 and answers the status.
    ReturnCodeEnum Load(const String& fileName);
    ReturnCodeEnum ReadStream(InStream& stream);
    ReturnCodeEnum WriteStream(OutStream& stream) const;
    // Writes the file (created, or replaced whole); the close's status counts.
    ReturnCodeEnum Save(const String& fileName) const;

    // Null when unknown.
    const CSSAttributeDef* FindProperty(std::uint32_t id) const { return properties_.FindById(id); }
    // The name is lower-cased first.
    bool PropertyIdByName(const String& name, std::uint32_t& id) const;

    // kDict_Unknown for an unknown id, kDict_WrongKind when the property's
    // type is not of a group kind (1, 3); else the group.
    DictStatus GroupType(const AttributeTypeGroup*& group, std::uint32_t propertyId) const;
    // kDict_Unknown, kDict_WrongKind when not of a formatted kind (2, 3).
    DictStatus FormattedType(const AttributeTypeFormatted*& type, std::uint32_t propertyId) const;
    // The keyword id of the text among the property's keywords (compared
    // without case). kDict_NoMatch and 0 when the text is none of them.
    DictStatus GroupValue(std::uint32_t& valueId, std::uint32_t propertyId, const String& text) const;
    // The keyword's number; 0 with the status when the text is no keyword.
    DictStatus ParseValue(std::int32_t& result, std::uint32_t propertyId, const String& text) const;
    // The format words of the property's formatted type (the CSS token
    // types it admits).
    DictStatus FormatCount(std::uint32_t& count, std::uint32_t propertyId) const;
    DictStatus FormatWord(std::uint32_t& word, std::uint32_t propertyId, std::uint32_t index) const;

    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    const String& FileName() const { return fileName_; }
    std::uint32_t HeaderWord() const { return header_; }
    void SetHeaderWord(std::uint32_t word) { header_ = word; }
    CrossReference<CSSAttributeDef>& Properties() { return properties_; }
    const CrossReference<CSSAttributeDef>& Properties() const { return properties_; }

  private:
    String name_;
    String fileName_;
    CrossReference<CSSAttributeDef> properties_;
    std::uint32_t header_ = 0;
};

}  // namespace markup
