// HTMLFormElementHandler: the controls of one HTML form, collected so that
// they can be handled together.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/dictionary_base.h"
#include "markup/doc_element.h"

namespace markup::style {

class HTMLFormElementHandler {
  public:
    // The value attribute of an input control.
    static constexpr std::uint32_t kValueAttribute = 0x4900B0;
    // The dictionary's element group of form controls.
    static constexpr std::uint32_t kControlGroup = 7;

    // Collects, in document order, every element below the form whose type
    // the dictionary counts among the form controls; the dictionary is the
    // one of the form's own document (null collects nothing). Neither is
    // owned; both must outlive the handler.
    HTMLFormElementHandler(DocElement* form, const DictionaryBase* dictionary);
    ~HTMLFormElementHandler();
    HTMLFormElementHandler(const HTMLFormElementHandler&) = delete;
    HTMLFormElementHandler& operator=(const HTMLFormElementHandler&) = delete;

    // Empties the value attribute of every collected control that has one.
    void ClearValues();
    // What a submit button asks of the form: nothing is sent anywhere.
    void Submit() {}

    std::uint32_t Count() const { return count_; }
    // Null past the count; no array at all when there is no control.
    DocElement* ControlAt(std::uint32_t index) const { return index < count_ ? controls_[index] : nullptr; }
    bool HasArray() const { return controls_ != nullptr; }

  private:
    // Calls visit for each control below the form in document order.
    template <class Visit>
    void WalkControls(Visit visit) const;

    DocElement* form_;
    const DictionaryBase* dictionary_;
    std::unique_ptr<DocElement*[]> controls_;
    std::uint32_t count_ = 0;
};

}  // namespace markup::style
