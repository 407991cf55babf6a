// A content model read from its .dic record, then driven by the rest of the
// input: the live model answers every step without crashing, Undo gives
// back exactly what Accept took, and the content checks of an element with
// that model answer for any children.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "markup/attr_element.h"
#include "markup/parser/content_validator.h"
#include "markup/parser/element_content.h"
#include "markup/stream.h"

namespace {

using namespace markup;

// The input bytes as a stream.
class BytesIn : public InStream {
  public:
    BytesIn(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::int32_t UpdateLength() override { return static_cast<std::int32_t>(size_); }
    std::uint32_t CurrentPosition() const override { return static_cast<std::uint32_t>(at_); }
    bool AtEnd(std::int32_t) override { return at_ >= size_; }
    ReturnCodeEnum Seek(std::int32_t, std::int32_t, std::int32_t) override { return kErr_StreamInvalidFile; }
    ReturnCodeEnum Write(const void*, std::uint32_t) override { return kErr_StreamWrite; }
    ReturnCodeEnum Read(void* buffer, std::uint32_t& count) override {
        const std::size_t left = size_ - at_;
        if (count > left) count = static_cast<std::uint32_t>(left);
        std::memcpy(buffer, data_ + at_, count);
        at_ += count;
        return count == 0 ? kErr_StreamEOF : kErr_None;
    }
    std::size_t Position() const { return at_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

constexpr std::uint32_t kModelled = 9;

// Elements 1 to 8 with small models of their own, omissible or not, some
// impliable; groups 2 {1, 2}, 3 {3, 4} and 23 {8}; element 9 gets the model
// read from the input.
std::unique_ptr<Dictionary> BuildDictionary(std::unique_ptr<ContentSymbol> model) {
    auto d = std::make_unique<Dictionary>();
    d->CreateEditor();
    d->SetHeader(1, 9);
    for (std::uint32_t groupClass : {2u, 3u, 23u}) {
        auto group = std::make_unique<ElementGroup>(groupClass, "g");
        const std::uint32_t first = groupClass == 23 ? 8 : groupClass * 2 - 3;
        group->AddMember(first);
        if (groupClass != 23) group->AddMember(first + 1);
        d->AddGroup(std::move(group));
    }
    for (std::uint32_t id = 1; id <= kModelled; ++id) {
        auto element = std::make_unique<ElementDef>();
        element->SetId(id);
        element->SetName(std::string(1, static_cast<char>('a' + id - 1)).c_str());
        element->SetFlag(0, id % 2);
        element->SetFlag(2, id % 3 != 0);
        if (id == kModelled) {
            element->SetModel(std::move(model), *d);
        } else {
            auto choice = std::make_unique<LogicalConnective>();
            choice->SetConnector(id % 3);
            choice->SetOccurrence(id % 5);
            for (std::uint32_t child : {id % 8 + 1, (id * 3) % 8 + 1, kTextElementId}) {
                auto symbol = std::make_unique<ElementSymbol>();
                symbol->SetElementId(child);
                symbol->SetOccurrence(child % 5);
                choice->AdoptChild(std::move(symbol));
            }
            element->SetModel(std::move(choice), *d);
        }
        if (id == 4) element->AddInclusion(5);
        if (id == 5) element->AddExclusion(1);
        d->Elements().Insert(std::move(element));
    }
    return d;
}

std::uint32_t ChildId(std::uint8_t byte) {
    const std::uint32_t id = byte % 11;
    return id == 10 ? kTextElementId : id;
}

std::string Shape(const ElementContent& node) {
    std::string out = std::to_string(node.Index()) + ":" + std::to_string(node.Count());
    if (const auto* branch = dynamic_cast<const ElementBranch*>(&node)) {
        out += "(";
        for (std::uint32_t i = 0; const ElementContent* child = branch->StartedChild(i); ++i) out += Shape(*child);
        out += ")";
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    BytesIn in(data, size);
    std::uint32_t kind = 0;
    std::uint32_t count = 4;
    if (in.Read(&kind, count) != kErr_None || count != 4) return 0;
    std::unique_ptr<ContentSymbol> symbol = ContentSymbol::Create(kind, 0);
    if (symbol->Read(in) != kErr_None) return 0;
    const std::uint8_t* script = data + in.Position();
    std::size_t steps = size - in.Position();
    if (steps > 512) steps = 512;

    std::unique_ptr<Dictionary> d = BuildDictionary(symbol->Clone());
    auto model = ElementContent::Create(*symbol);
    for (std::size_t i = 0; i < steps; ++i) {
        const std::uint8_t op = script[i] >> 4;
        const std::uint32_t id = ChildId(script[i] & 0x0F);
        if (op < 8) {
            const std::string before = Shape(*model);
            if (model->Accept(id, *d)) {
                auto copy = model->Clone();
                if (Shape(*copy) != Shape(*model)) std::abort();
                if (!copy->Undo() || Shape(*copy) != before) std::abort();
            } else if (Shape(*model) != before) {
                std::abort();  // a refusal changed the state
            }
        } else if (op < 10) {
            model->Undo();
        } else if (op < 12) {
            auto copy = model->Clone();
            copy->NextElement(op == 10, *d);
        } else if (op < 14) {
            ProbeContent(*model, id, *d);
        } else {
            model->CanEnd();
        }
    }

    // The element with that model, its children from the script.
    auto* element = new AttrElement;
    element->SetTypeId(kModelled);
    auto* document = new AttrElement;
    document->SetTypeId(173);
    document->AppendChild(element);
    for (std::size_t i = 0; i < steps && i < 64; ++i) {
        auto* child = new AttrElement;
        child->SetTypeId(ChildId(script[i]));
        element->AppendChild(child);
    }
    std::uint32_t position = 0;
    std::uint32_t missing = 0;
    ElementContentValidator::CheckCompleted(*d, *element, position, missing);
    TreeBuildState state;
    state.SetActive(true);
    ElementContentValidator::EnterElement(*d, state, kModelled);
    for (std::uint8_t byte = 0; byte <= 10; ++byte) {
        const std::uint32_t id = ChildId(byte);
        IdList ids;
        std::int32_t action = kImpliedLevels;
        std::uint32_t budget = kFirstAttemptBudget;
        const bool accepted = ElementContentValidator::Check(*d, ids, action, budget, id, element, &state);
        if (accepted && action > 0 && ids.Count() != static_cast<std::uint32_t>(action)) std::abort();
        ElementContentValidator::Accepts(*d, id, element);
    }
    document->DeleteSubtree();
    return 0;
}
