// The live content model: leaves, the node factory, copies and the probe.
#include "markup/parser/element_content.h"

#include "markup/parser/dictionary.h"

namespace markup {

std::unique_ptr<ElementContent> ElementContent::Create(const ContentSymbol& symbol, std::uint32_t index) {
    if (const auto* connective = dynamic_cast<const LogicalConnective*>(&symbol)) {
        return std::make_unique<ElementBranch>(*connective, index);
    }
    return std::make_unique<ElementContent>(symbol, index);
}

std::unique_ptr<ElementContent> ElementContent::Clone() const {
    std::unique_ptr<ElementContent> copy = Create(*symbol_, index_);
    copy->CopyState(*this);
    return copy;
}

void ElementContent::CopyState(const ElementContent& other) {
    symbol_ = other.symbol_;
    index_ = other.index_;
    count_ = other.count_;
}

bool ElementContent::CanEnd() const {
    // EMPTY and ANY content may end with nothing taken, whatever the
    // occurrence code of the base symbol says.
    return count_ > 0 || symbol_->IsOptional() || symbol_->Kind() == kSymbolBase;
}

bool ElementContent::Accept(std::uint32_t childId, const Dictionary& dictionary) {
    if (!OccurrenceAllows(symbol_->OccurrenceCode(), count_ + 1)) return false;
    bool matches = false;
    switch (symbol_->Kind()) {
        case kSymbolText:
            matches = childId == kTextElementId;
            break;
        case kSymbolElement:
            matches = childId == static_cast<const ElementSymbol*>(symbol_)->ElementId();
            break;
        case kSymbolGroup:
            matches = dictionary.GroupContains(childId, static_cast<const GroupSymbol*>(symbol_)->GroupClass());
            break;
        default:
            // ANY takes every child; EMPTY none.
            matches = DeclaresAnyContent(*symbol_);
            break;
    }
    if (matches) ++count_;
    return matches;
}

std::uint32_t ElementContent::NextElement(bool untilEnd, const Dictionary& dictionary) {
    if (untilEnd && CanEnd()) return 0;
    if (!OccurrenceAllows(symbol_->OccurrenceCode(), count_ + 1)) return 0;
    std::uint32_t id = 0;
    switch (symbol_->Kind()) {
        case kSymbolText:
            id = kTextElementId;
            break;
        case kSymbolElement:
            id = static_cast<const ElementSymbol*>(symbol_)->ElementId();
            break;
        case kSymbolGroup:
            if (dictionary.GroupMember(id, static_cast<const GroupSymbol*>(symbol_)->GroupClass(), 0) != kDict_Ok) {
                id = 0;
            }
            break;
        default:
            break;
    }
    if (id != 0) ++count_;
    return id;
}

bool ElementContent::Undo() {
    if (count_ == 0) return false;
    --count_;
    return true;
}

ContentProbe ProbeContent(const ElementContent& model, std::uint32_t childId, const Dictionary& dictionary) {
    ContentProbe probe;
    std::unique_ptr<ElementContent> work = model.Clone();
    if (work->Accept(childId, dictionary)) return probe;
    probe.code = kProbeRefused;
    std::uint32_t next = work->NextElement(true, dictionary);
    if (next == 0) next = work->NextElement(false, dictionary);
    if (next != 0 && work->Accept(childId, dictionary)) {
        probe.code |= kProbeImplied;
        probe.impliedId = next;
    }
    // The same model with its last occurrence taken back.
    std::unique_ptr<ElementContent> shorter = model.Clone();
    if (shorter->Undo() && shorter->Accept(childId, dictionary)) probe.code |= kProbeReplaces;
    return probe;
}

}  // namespace markup
