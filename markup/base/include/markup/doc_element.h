// DocElement: a node of a parsed document, with its type id, text, flags and
// the object another engine keeps on it.
//
// Type ids name elements of the document's dictionary, except the node kinds
// below, which the tree itself gives a meaning. Every comparison of identity
// uses the stored id (TypeId); GetType caps what it reports at 185, the
// highest id the fixed tables of the engines know, while open dictionaries
// hand out larger ids for names they learn.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/dictionary_base.h"
#include "markup/extra_object.h"
#include "markup/node.h"
#include "markup/string.h"

namespace markup {

// Node kinds with a fixed meaning in every parsed tree.
enum NodeKind : std::uint32_t {
    kKindDeclaration = 87,   // comment, declaration or instruction: its text names it
    kKindPlaceholder = 159,  // an empty wrapper
    kKindText = 160,
    kKindWhitespace = 163,         // text before markup; never content
    kKindSignificantText = 164,    // text whose content is tested
    kKindMarkupDeclaration = 165,  // comment, or a declaration when its text begins "<!DOCTYPE"
    kKindCData = 166,
    kKindEntityReference = 167,
    kKindServerBlock = 168,     // a "<%" ... "%>" block
    kKindInvalidElement = 171,  // never takes children
    kKindStrayEndTag = 172,     // never takes children
    kKindDocument = 173,        // always takes children
};

// The highest id GetType reports.
inline constexpr std::uint32_t kMaxReportedType = 185;

class DocElement : public Node {
  public:
    // Flag bits with a meaning outside the tree builder.
    static constexpr std::uint32_t kFlagQuiet = 64;  // no diagnostics for the node

    DocElement() = default;
    ~DocElement() override;

    // A free node of the same class with the same type id, declared-empty
    // byte and data; flags, extra and links are not copied.
    DocElement* Clone() const override;
    DocElement* ToDocElement() override { return this; }
    const DocElement* ToDocElement() const override { return this; }

    // Slot 3: sets the node's text; the dictionary is not used here. The
    // answer is 0 (entity references answer 1 for an unknown entity).
    virtual int SetText(const DictionaryBase* dictionary, const String& text);
    // Slot 4: the text the node stands for (an entity reference: its name).
    virtual const String& TextRef() const { return text_; }
    // Takes the other node's data; InvalidArgumentFault for a null node or
    // one of another type id.
    virtual void CopyFrom(const DocElement* other);

    // Clones holding part of the text (String::Left, Right, Mid rules). A
    // start past the end, or an end before the start, gives an empty text.
    virtual DocElement* TextLeft(const DictionaryBase* dictionary, std::uint32_t count) const;
    virtual DocElement* TextRight(const DictionaryBase* dictionary, std::uint32_t index) const;
    virtual DocElement* TextMid(const DictionaryBase* dictionary, std::uint32_t start,
                                std::uint32_t end) const;

    // Whether the node counts on its own when a parent's content is judged.
    virtual bool IsSignificant(const DictionaryBase* dictionary) const;
    // Text with more than a lone no-break space, or a significant node
    // somewhere below.
    virtual bool HasContent(const DictionaryBase* dictionary) const;

    std::uint32_t TypeId() const { return typeId_; }
    void SetTypeId(std::uint32_t id) { typeId_ = id; }
    // The stored id, capped at kMaxReportedType.
    std::uint32_t GetType() const { return typeId_ < kMaxReportedType ? typeId_ : kMaxReportedType; }
    // The node as a DocElement; null for null and for other nodes.
    static DocElement* Of(Node* node) { return node ? node->ToDocElement() : nullptr; }
    static const DocElement* Of(const Node* node) { return node ? node->ToDocElement() : nullptr; }
    // GetType of a DocElement; 0 for null and for other nodes.
    static std::uint32_t TypeOf(const Node* node);

    // The text field itself (TextRef may answer something else).
    const String& Text() const { return text_; }
    // Adds to the text field, growing it by half its size when full, so
    // that a run made of many pieces takes linear time.
    void AppendText(const String& more);

    std::uint32_t Flags() const { return flags_; }
    void SetFlags(std::uint32_t bits) { flags_ = static_cast<std::uint16_t>(flags_ | bits); }
    void ClearFlags(std::uint32_t bits) { flags_ = static_cast<std::uint16_t>(flags_ & ~bits); }
    bool HasFlag(std::uint32_t bits) const { return (flags_ & bits) != 0; }

    bool DeclaredEmpty() const { return declaredEmpty_ != 0; }
    void SetDeclaredEmpty(bool empty) { declaredEmpty_ = empty ? 1 : 0; }

    // The owned object of another engine; null until set. Setting replaces
    // (and destroys) the old one.
    ExtraObject* Extra() const { return extra_.get(); }
    void SetExtra(std::unique_ptr<ExtraObject> extra) { extra_ = std::move(extra); }
    std::unique_ptr<ExtraObject> TakeExtra() { return std::move(extra_); }

    // Searches by stored type id; asking for 141 also finds 146.
    DocElement* FindAncestorOfType(std::uint32_t id);
    DocElement* FindNextSiblingOfType(std::uint32_t id) const;
    DocElement* FindPreviousSiblingOfType(std::uint32_t id) const;

    // The name of the node: the dictionary's element name for its id, else
    // the name its kind gives it. InvalidArgumentFault for an id that has no
    // name. The dictionary may be null.
    String GetName(const DictionaryBase* dictionary) const;

  protected:
    // Copies type id and declared-empty byte into a fresh clone, then lets
    // it take this node's data.
    void CopyTypeTo(DocElement& clone) const;
    // A fresh T made a clone of this node through CopyTypeTo: the Clone of
    // every class derived from DocElement.
    template <class T>
    T* CloneAs() const {
        auto clone = std::make_unique<T>();
        CopyTypeTo(*clone);
        return clone.release();
    }
    // A clone whose text is `text`, set through slot 3.
    DocElement* CloneWithText(const DictionaryBase* dictionary, const String& text) const;

    String text_;

  private:
    std::uint32_t typeId_ = 0;
    // Every flag bit lies in the low 16; with the byte after it the three
    // fields take one word, in a record a document holds per node.
    std::uint16_t flags_ = 0;
    std::uint8_t declaredEmpty_ = 0;
    std::unique_ptr<ExtraObject> extra_;
};

// One character 0xA0: the text that counts as no text.
bool IsLoneNoBreakSpace(const String& text);

}  // namespace markup
