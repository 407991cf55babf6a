// RunElement (a run of text) and EntityElement (an entity reference).
#pragma once

#include <cstdint>

#include "markup/doc_element.h"

namespace markup {

class RunElement : public DocElement {
  public:
    RunElement() = default;
    ~RunElement() override;

    RunElement* Clone() const override;
    // False for whitespace before markup, an empty text and a lone no-break
    // space.
    virtual bool HasText() const;
};

// Keeps the entity's name and, as its text, the replacement text.
class EntityElement : public DocElement {
  public:
    EntityElement() = default;
    ~EntityElement() override;

    // A clone keeps the class and the name.
    EntityElement* Clone() const override;
    // Stores the name and takes the entity's text from the dictionary:
    // 0 when the entity was found, 1 otherwise (the text is then unchanged).
    int SetText(const DictionaryBase* dictionary, const String& name) override;
    // The name.
    const String& TextRef() const override { return name_; }
    // Takes the name with the text.
    void CopyFrom(const DocElement* other) override;

    const String& Name() const { return name_; }

  private:
    String name_;
};

}  // namespace markup
