// Element descriptions and the match of a simple selector against one.
#include "markup/style/css_selector.h"
#include "platform/latin1_text.h"
#include "style_heap.h"

namespace markup::style {

namespace {

bool SameText(const String& a, const String& b) {
    return platform::lstrcmpiA(a.Text(), b.Text()) == 0;
}

// One part of the match: nothing to compare, equal, or different.
enum class Part { kNone, kPositive, kMismatch };

Part Compare(const CSSToken& part, const String& description) {
    return SameText(part.Text(), description) ? Part::kPositive : Part::kMismatch;
}

}  // namespace

CSSSimpleSelectorDesc::~CSSSimpleSelectorDesc() = default;

CSSSimpleSelectorDesc* CSSSimpleSelectorDesc::Clone() const {
    return detail::CopyOf(*this);
}

String CSSSimpleSelectorDesc::Text() const {
    String text = name_;
    text += id_;
    text += class_;
    text += pseudoClass_;
    return text;
}

bool CSSSimpleSelectorDesc::LenientMatch(const CSSSimpleSelector& selector) const {
    const struct {
        const CSSToken* token;
        const String& text;
    } parts[] = {{selector.Name(), name_}, {selector.Class(), class_}, {selector.Id(), id_},
                 {selector.PseudoClass(), pseudoClass_}};
    for (const auto& part : parts) {
        if (part.token && !part.text.IsEmpty() && !SameText(part.token->Text(), part.text)) return false;
    }
    return true;
}

bool MatchesCSSDescription(const CSSSimpleSelector& selector, const CSSSimpleSelectorDesc& description,
                           bool needPositive) {
    Part parts[4] = {Part::kNone, Part::kNone, Part::kNone, Part::kNone};
    if (selector.Name() && description.HasName()) parts[0] = Compare(*selector.Name(), description.Name());
    if (selector.Id()) {
        parts[1] = description.HasId() ? Compare(*selector.Id(), description.Id()) : Part::kMismatch;
    }
    if (selector.Class() && description.HasClass()) {
        parts[2] = Compare(*selector.Class(), description.Class());
    } else if (selector.Class() || description.HasClass()) {
        parts[2] = Part::kMismatch;
    } else if (!needPositive) {
        parts[2] = Part::kPositive;
    }
    // The description's pseudo-class is always empty, so a selector with
    // one never matches.
    if (selector.PseudoClass()) {
        parts[3] = Compare(*selector.PseudoClass(), description.PseudoClass());
    } else if (description.HasPseudoClass()) {
        parts[3] = Part::kMismatch;
    }
    bool positive = false;
    for (Part part : parts) {
        if (part == Part::kMismatch) return false;
        positive = positive || part == Part::kPositive;
    }
    return !needPositive || positive;
}

}  // namespace markup::style
