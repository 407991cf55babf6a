// Dictionary: the in-memory form of one document type.
//
// Which elements exist and under which ids, which attributes each takes and
// what values they take, which element groups and named values exist, which
// entities are predefined and what each element may hold. The tokenizer, the
// tree builder and the content validator ask it for ids by name, names and
// definitions by id, group membership and value checks; the registry
// creates, loads and shares dictionaries; the DTD compiler fills one and
// writes it.
//
// Its file is the .dic format: the header words H1 to H4, the entity
// table, the element groups, the element and attribute cross-references and
// the named values, every field little-endian without padding (record_io.h
// lists the field forms, each record's Read and Write its fields).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "markup/dictionary_base.h"
#include "markup/parser/attribute_def.h"
#include "markup/parser/cross_reference.h"
#include "markup/parser/dictionary_status.h"
#include "markup/parser/element_def.h"
#include "markup/parser/entity_table.h"
#include "markup/return_codes.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

class Dictionary;

// What an element may hold, as the tokenizer and the node factory ask it.
enum ElementHolds : std::uint32_t {
    kElementEmpty = 0,
    kElementWithContent = 1,
    kElementUnknown = 2,
};

// Groups, named values, new ids and entities of one dictionary.
class DictionaryEditor {
  public:
    explicit DictionaryEditor(Dictionary& dictionary) : dictionary_(dictionary) {}
    virtual ~DictionaryEditor() = default;
    DictionaryEditor(const DictionaryEditor&) = delete;
    DictionaryEditor& operator=(const DictionaryEditor&) = delete;

    // The first group of the class; kDict_Missing and null when none.
    DictStatus GroupByClass(const ElementGroup*& group, std::uint32_t groupClass) const;
    // The first named value of the id; kDict_Missing and null when none.
    DictStatus ValueById(const ValueDef*& value, std::uint32_t id) const;
    // The first id above max(H2, 185) that no element uses: at least 186.
    // 0 when every id above the start is taken.
    std::uint32_t NewElementId() const;
    // The first id above H3 that no attribute uses; 0 when none is left.
    std::uint32_t NewAttributeId() const;
    // Adds to the entity table; marks the dictionary modified when added.
    DictStatus AddEntity(const String& name, const String& text);

    bool Modified() const { return modified_ != 0; }
    void SetModified() { modified_ = 1; }
    Dictionary& Edited() const { return dictionary_; }

  private:
    Dictionary& dictionary_;
    std::uint32_t modified_ = 0;
};

class Dictionary : public DictionaryBase {
  public:
    // Element ids below this are the fixed node kinds and built-in elements;
    // new element ids start above it.
    static constexpr std::uint32_t kFirstFreeElementId = 185;

    Dictionary();
    ~Dictionary() override;
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    // Loading. Load stores the file name and the case mode, creates the
    // editor, gives the entity table its per-byte entries and reads the file
    // (Read). Read answers the open status of a file that cannot be opened
    // (no message); a file that fails after it opened shows the host's
    // message 10007 and answers the failing status, keeping what was read.
    ReturnCodeEnum Load(const String& fileName, bool caseSensitive);
    ReturnCodeEnum Read();
    // The records from a stream open for reading, without messages.
    ReturnCodeEnum ReadStream(InStream& stream);
    // Writing: every record as Read reads it.
    ReturnCodeEnum WriteStream(OutStream& stream) const;
    // Writes the file (created, or replaced whole) and answers the first
    // failing status, the close's included.
    ReturnCodeEnum Save(const String& fileName) const;

    // Element look-ups. In a dictionary that is not case sensitive the name
    // is lower-cased first.
    DictStatus ElementIdByName(const String& name, std::uint32_t& id) const;
    // Null when unknown.
    const ElementDef* FindElement(std::uint32_t id) const { return elements_.FindById(id); }
    // The content kind: 0 declared without a model or with a model declared
    // EMPTY, 1 with content, kDict_NotFound when unknown.
    DictStatus ElementHasModel(const String& name) const;
    DictStatus ElementHasModel(std::uint32_t id) const;
    // What the element's definition lets it hold: kElementEmpty when nothing
    // (no model and no allowed child), kElementWithContent otherwise,
    // kElementUnknown when the dictionary defines no element of the id.
    ElementHolds ElementContentKind(std::uint32_t id) const;
    // Class 1: ids below H2 and every defined element; other classes: the
    // group's members. False when there is no group of the class.
    bool GroupContains(std::uint32_t elementId, std::uint32_t groupClass) const override;
    // The group's member at the index (class 1: the element at that
    // position); kDict_Missing without the group, kDict_OutOfRange past it.
    DictStatus GroupMember(std::uint32_t& id, std::uint32_t groupClass, std::uint32_t index) const;
    // Class 1: the element count; else the member count (0 without a group).
    std::uint32_t GroupSize(std::uint32_t groupClass) const;
    bool AllowsChild(const ElementDef& parent, std::uint32_t childId, const IdList& inclusions,
                     const IdList& exclusions) const {
        return parent.AllowsChild(childId, inclusions, exclusions);
    }

    // The attribute of that name an element takes. Attribute names may be
    // defined once per element: the namesakes are tried in order until one
    // is in the element's attribute list (kDict_Ok, its id). When none is,
    // kDict_NoMatch with firstNamesake the first one's id; kDict_NotFound
    // when no attribute has the name. The name is lower-cased first in a
    // dictionary that is not case sensitive.
    DictStatus FindAttributeForElement(const String& name, std::uint32_t elementId, std::uint32_t& id,
                                       std::uint32_t& firstNamesake) const;

    // Attribute look-ups. Null when unknown.
    const HTMLAttributeDef* FindAttribute(std::uint32_t id) const { return attributes_.FindById(id); }
    // kDict_Unknown when reserved is not 0 or the id is unknown, kDict_WrongKind
    // when the definition has no group type; else the group.
    DictStatus AttributeGroup(std::uint32_t attributeId, const AttributeTypeGroup*& group,
                              std::uint32_t reserved = 0) const;
    // The value check of one attribute of an element: false with result 1
    // when the id is unknown; true with result 0 at once in a case-sensitive
    // dictionary; else the type's check decides (result 0 accepted, 2 not).
    // uniqueAmongSiblings comes back true when the value was accepted and the
    // declared type asks that no earlier sibling with the same element id
    // carries the attribute: that walk belongs to whoever holds the nodes.
    bool CheckAttribute(DictStatus& result, std::uint32_t attributeId, const String& value,
                        bool& uniqueAmongSiblings) const;
    // The value id of the enumerated value the text matches; 0 when the
    // attribute has no definition or group, or the match fails.
    std::uint32_t AttributeValueCode(std::uint32_t attributeId, const String& text) const;
    // The text converted by the attribute's type; 0 when the definition is
    // missing or the type refuses the text.
    std::int32_t TypedAttributeValue(std::uint32_t attributeId, const String& text) const;

    // DictionaryBase.
    bool ElementNameById(std::uint32_t id, String& name) const override;
    bool AttributeNameById(std::uint32_t id, String& name) const override;
    bool ElementIsEmpty(std::uint32_t id, bool& empty) const override;
    bool FindEntityText(const String& name, String& text) const override;

    // Contents, for builders (the DTD compiler, tests) and the parser.
    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    const String& FileName() const { return fileName_; }
    // Null until Load or CreateEditor.
    DictionaryEditor* Editor() const { return editor_.get(); }
    DictionaryEditor& CreateEditor();
    EntityTable& Entities() { return entities_; }
    const EntityTable& Entities() const { return entities_; }
    const std::vector<std::unique_ptr<ElementGroup>>& Groups() const { return groups_; }
    void AddGroup(std::unique_ptr<ElementGroup> group);
    CrossReference<ElementDef>& Elements() { return elements_; }
    const CrossReference<ElementDef>& Elements() const { return elements_; }
    CrossReference<HTMLAttributeDef>& Attributes() { return attributes_; }
    const CrossReference<HTMLAttributeDef>& Attributes() const { return attributes_; }
    const std::vector<std::unique_ptr<ValueDef>>& Values() const { return values_; }
    void AddValue(std::unique_ptr<ValueDef> value);
    // H1 to H4 as index 0 to 3; H2 is the highest element id, H3 the highest
    // attribute id, H1 and H4 are kept and not read.
    std::uint32_t Header(int index) const { return header_[index]; }
    void SetHeader(int index, std::uint32_t word) { header_[index] = word; }
    bool CaseSensitive() const { return caseSensitive_ != 0; }
    void SetCaseSensitive(bool on) { caseSensitive_ = on ? 1 : 0; }
    // Open: unknown elements and attributes are accepted and learned, and
    // content checks are skipped.
    bool IsOpen() const { return open_ != 0; }
    void SetOpen(bool on) { open_ = on ? 1 : 0; }

    // The name as the dictionary stores it: lower-cased unless case sensitive.
    String LookupName(const String& name) const;
    // The same without a copy where none is needed: the name itself in a
    // case-sensitive dictionary, else `lowered` made from it.
    const String& LookupName(const String& name, String& lowered) const;

  private:
    const ElementGroup* FindGroup(std::uint32_t groupClass) const;

    String name_;
    String fileName_;
    std::unique_ptr<DictionaryEditor> editor_;
    EntityTable entities_;
    std::vector<std::unique_ptr<ElementGroup>> groups_;
    CrossReference<ElementDef> elements_;
    CrossReference<HTMLAttributeDef> attributes_;
    std::vector<std::unique_ptr<ValueDef>> values_;
    std::array<std::uint32_t, 4> header_ = {0, 0, 0, 0};
    std::uint32_t caseSensitive_ = 0;
    std::uint32_t open_ = 0;
};

// A tree's dictionary as the full Dictionary (null when it is none). The
// parser asks for it at nearly every character class it scans: the cast is
// made again only when the tree holds another dictionary.
class DictionaryCast {
  public:
    Dictionary* operator()(DictionaryBase* dictionary) const {
        if (dictionary != from_) {
            from_ = dictionary;
            to_ = dynamic_cast<Dictionary*>(dictionary);
        }
        return to_;
    }

  private:
    mutable DictionaryBase* from_ = nullptr;
    mutable Dictionary* to_ = nullptr;
};

}  // namespace markup
