// The text builder: a `text` element's characters as host text runs. Each
// stretch of characters (the text's own, each `tspan`'s, each `tref`'s) is
// a run in its element's style. A run starts where its first character's
// `x`, `y` put it, moved by `dx`, `dy`; a run without them follows the one
// before by its measured advance. Of per-character lists (x, y, dx, dy,
// rotate) the first value places the whole run. `text-anchor` moves the
// runs of each chunk (the runs from one absolute position to the next) back
// by the chunk's whole advance or half of it.
#include <cmath>
#include <numbers>
#include <optional>

#include "markup/doc_element.h"
#include "reader_detail.h"
#include "text_space.h"

namespace SVG {

using markup::WDOMHandle;

namespace {

// A text node's data is the text of the whole run of text and entity nodes
// that starts with it, and the sibling steps still land on each of the
// run's other nodes: how many nodes the run holds (0 for a node of another
// DOM).
uint32_t RunLength(const WDOMHandle& text) {
    uint32_t count = 0;
    for (const markup::Node* node = text.Get()->GetNode(); node; node = node->NextSibling()) {
        const markup::DocElement* element = markup::DocElement::Of(node);
        if (!element || (element->TypeId() != markup::kKindText && element->TypeId() != markup::kKindEntityReference))
            break;
        ++count;
    }
    return count;
}

bool IsTextNode(uint16_t type) {
    return type == markup::kDOMTextNode || type == markup::kDOMCDATASectionNode;
}

// Where a run's first character goes: the first value of each list.
struct Placement {
    std::optional<WLength> x, y, dx, dy;
    std::optional<double> rotate;
    bool Absolute() const { return x || y; }
    bool Any() const { return x || y || dx || dy || rotate; }
};

// The first length of a list of lengths, or none.
std::optional<WLength> FirstLength(const std::string* list) {
    if (list == nullptr) return std::nullopt;
    size_t at = 0;
    while (at < list->size() && (IsWhiteSpace((*list)[at]) || (*list)[at] == ',')) ++at;
    size_t end = at;
    while (end < list->size() && !IsWhiteSpace((*list)[end]) && (*list)[end] != ',') ++end;
    if (end == at) return std::nullopt;
    const WLength length = ParseLength(std::string_view(*list).substr(at, end - at));
    if (length.kind == unit::kNone || !std::isfinite(length.value)) return std::nullopt;
    return length;
}

Placement PlacementOf(const detail::Attributes& attributes) {
    Placement p;
    p.x = FirstLength(attributes.Find(attribute::kX));
    p.y = FirstLength(attributes.Find(attribute::kY));
    p.dx = FirstLength(attributes.Find(attribute::kDx));
    p.dy = FirstLength(attributes.Find(attribute::kDy));
    if (const auto angle = FirstLength(attributes.FindName("rotate")); angle && angle->kind == unit::kUser)
        p.rotate = angle->value;
    return p;
}

// An inner element's values stand for its first character before the
// outer element's.
Placement Over(const Placement& inner, const Placement& outer) {
    Placement p = outer;
    if (inner.x) p.x = inner.x;
    if (inner.y) p.y = inner.y;
    if (inner.dx) p.dx = inner.dx;
    if (inner.dy) p.dy = inner.dy;
    if (inner.rotate) p.rotate = inner.rotate;
    return p;
}

// One stretch of characters: the element whose style it takes and where
// its first character goes.
struct Piece {
    WDOMHandle element;
    Placement placement;
};

// The character data of an element and its descendants, in order (what a
// `tref` takes of the element it names).
void AppendCharacterData(const WDOMHandle& node, std::string& out, int depth) {
    if (depth > WParser::kMaxDepth) return;
    for (WDOMHandle child = node.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        const uint16_t type = child.GetNodeType();
        if (IsTextNode(type)) {
            out += child.GetData().View();
            for (uint32_t joined = RunLength(child); joined > 1 && !child.GetNextSibling().IsNull(); --joined)
                child = child.GetNextSibling();
        } else if (type == markup::kDOMElementNode) {
            AppendCharacterData(child, out, depth + 1);
        }
    }
}

// Gathers the text's stretches: `pending` is the placement that waits for
// the next character, taken (and cleared) by the first stretch.
class PieceCollector {
  public:
    explicit PieceCollector(const WParser& reader) : reader_(reader) {}

    void Collect(const WDOMHandle& node, Placement& pending, int depth) {
        if (depth > WParser::kMaxDepth) return;
        const bool preserve = detail::PreservesSpace(node);
        for (WDOMHandle child = node.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
            const uint16_t type = child.GetNodeType();
            if (IsTextNode(type)) {
                Add(node, std::string(child.GetData().View()), preserve, pending);
                // The run's other nodes gave their text already.
                for (uint32_t joined = RunLength(child); joined > 1 && !child.GetNextSibling().IsNull(); --joined)
                    child = child.GetNextSibling();
                continue;
            }
            if (type != markup::kDOMElementNode) continue;
            const std::string name = detail::NameOf(child);
            const bool placed = name == "tspan" || name == "tref";
            if (!placed && name != "a" && name != "textPath") continue;  // desc, title and others draw nothing
            Placement inner = placed ? Over(PlacementOf(detail::Attributes(child)), pending) : pending;
            const bool hadPending = pending.Any();
            if (name == "tref") {
                const detail::Attributes attributes(child);
                const std::string* href = attributes.Href();
                const WDOMHandle target = href != nullptr ? reader_.ResolveHref(*href) : WDOMHandle();
                if (target.IsNull()) continue;
                std::string data;
                AppendCharacterData(target, data, depth + 1);
                Add(child, std::move(data), detail::PreservesSpace(child), inner);
            } else {
                Collect(child, inner, depth + 1);
            }
            // What the child's characters took of the outer placement is
            // gone; with no character, its own values place nothing.
            if (hadPending && !inner.Any()) pending = Placement();
        }
    }

    std::vector<Piece> pieces;
    std::vector<detail::SpacedText> stretches;

  private:
    void Add(const WDOMHandle& element, std::string text, bool preserve, Placement& pending) {
        pieces.push_back({element, pending});
        stretches.push_back({std::move(text), preserve});
        pending = Placement();
    }

    const WParser& reader_;
};

// A run laid out in the text's user space.
struct Run {
    WText text;
    WDOMHandle element;
    WPoint at;
    double advance = 0;
    double size = 0;  // the font size in user units
    std::optional<double> rotate;
};

// The pieces with characters left after the spaces are arranged; a piece
// left empty hands its placement to the next one that has none.
std::vector<size_t> KeptPieces(std::vector<Piece>& pieces, const std::vector<detail::SpacedText>& stretches) {
    std::vector<size_t> kept;
    Placement carried;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (stretches[i].text.empty()) {
            if (pieces[i].placement.Any()) carried = pieces[i].placement;
            continue;
        }
        pieces[i].placement = Over(pieces[i].placement, carried);
        carried = Placement();
        kept.push_back(i);
    }
    return kept;
}

}  // namespace

int32_t WParser::TextAnchorOf(const WDOMHandle& element) {
    WComputedStyle style;
    if (styles_ == nullptr || !styles_->GetStyle(element, &style)) return text_anchor::kStart;
    return style.textAnchor;
}

void WParser::StyleTextRun(const WDOMHandle& textElement, const WDOMHandle& element, WPresentation& out,
                           const WBox* box) {
    ResolveStyle(element, out, box);
    if (element.Get() == textElement.Get()) return;
    // Clip paths and masks are not inherited: the text's own hold every run.
    WComputedStyle style;
    if (styles_ == nullptr || !styles_->GetStyle(textElement, &style)) return;
    if (style.clipPath.Empty() && style.mask.Empty()) return;
    WPresentation outer;
    ResolveStyle(textElement, outer, box);
    if (out.clipPath == nullptr) out.clipPath = std::move(outer.clipPath);
    if (out.mask == nullptr) out.mask = outer.mask;
    outer.fill.reset();
    outer.stroke.reset();
    outer.font.reset();
}

int32_t WParser::DoText(const WDOMHandle& element) {
    detail::DefinitionScope scope(definitions_);
    const detail::ElementFrame frame(*this, element);
    PieceCollector collector(*this);
    Placement pending = PlacementOf(frame.attributes);
    // A text without x or y starts at the origin.
    if (!pending.x) pending.x = WLength{0, unit::kUser};
    if (!pending.y) pending.y = WLength{0, unit::kUser};
    collector.Collect(element, pending, 0);
    detail::ArrangeSpaces(collector.stretches);
    const std::vector<size_t> kept = KeptPieces(collector.pieces, collector.stretches);
    if (kept.empty()) return 1;

    // Each run where its placement and the advances before it put it.
    std::vector<Run> runs(kept.size());
    std::vector<size_t> chunkStarts;
    WPoint pen;
    for (size_t k = 0; k < kept.size(); ++k) {
        const Piece& piece = collector.pieces[kept[k]];
        Run& run = runs[k];
        const Placement& p = piece.placement;
        if (k == 0 || p.Absolute()) chunkStarts.push_back(k);
        if (p.x) pen.x = detail::UserLength(*this, *p.x, kHorizontal, pen.x);
        if (p.y) pen.y = detail::UserLength(*this, *p.y, kVertical, pen.y);
        if (p.dx) pen.x += detail::UserLength(*this, *p.dx, kHorizontal);
        if (p.dy) pen.y += detail::UserLength(*this, *p.dy, kVertical);
        run.at = pen;
        run.rotate = p.rotate;
        run.element = piece.element;
        run.text.text.Assign(collector.stretches[kept[k]].text);
        run.text.matrix = Current();
        StyleTextRun(element, piece.element, run.text.presentation, nullptr);
        if (run.text.presentation.font == nullptr) run.text.presentation.font = std::make_unique<WFont>();
        WLength userSize = run.text.presentation.font->size;
        LengthToUser(userSize, kVertical);
        WLength hostSize = run.text.presentation.font->size;
        LengthToHost(hostSize, kVertical);
        run.size = std::isfinite(userSize.value) ? std::fabs(userSize.value) : 0;
        run.text.presentation.font->size = hostSize;
        if (canvas_ != nullptr && hostSize.value > 0 && std::isfinite(hostSize.value)) {
            const double advance = canvas_->MeasureText(run.text) * run.size / hostSize.value;
            if (std::isfinite(advance)) run.advance = advance;
        }
        pen.x += run.advance;
    }

    // Each chunk moved back by its anchor's share of its advance.
    chunkStarts.push_back(runs.size());
    for (size_t c = 0; c + 1 < chunkStarts.size(); ++c) {
        const size_t first = chunkStarts[c];
        const size_t end = chunkStarts[c + 1];
        const int32_t anchor = TextAnchorOf(runs[first].element);
        if (anchor == text_anchor::kStart) continue;
        const Run& last = runs[end - 1];
        const double advance = last.at.x + last.advance - runs[first].at.x;
        const double shift = anchor == text_anchor::kMiddle ? advance / 2 : advance;
        for (size_t k = first; k < end; ++k) runs[k].at.x -= shift;
    }

    for (Run& run : runs) {
        if (run.rotate && std::isfinite(*run.rotate) && *run.rotate != 0) {
            // The run turns about its first character's origin.
            const double angle = *run.rotate * std::numbers::pi / 180;
            const double cs = std::cos(angle), sn = std::sin(angle);
            run.text.matrix.Multiply(cs, sn, -sn, cs, run.at.x - cs * run.at.x + sn * run.at.y,
                                     run.at.y - sn * run.at.x - cs * run.at.y);
        }
        const WPoint host = Current().Transform(run.at);
        run.text.x = host.x;
        run.text.y = host.y;
        if (StyleOf(run.element).fill.kind == WStylePaint::Kind::kReference) {
            // Reference paints depend on the box (one in the box's units
            // has none without it): the run's advance wide, the size tall
            // above the baseline.
            const WBox box{run.at.x, run.at.y - run.size, run.advance > 0 ? run.advance : run.size, run.size};
            const WLength hostSize = run.text.presentation.font->size;
            StyleTextRun(element, run.element, run.text.presentation, &box);
            if (run.text.presentation.font == nullptr) run.text.presentation.font = std::make_unique<WFont>();
            run.text.presentation.font->size = hostSize;
        }
        if (canvas_ != nullptr) canvas_->DrawText(run.text);
        run.text.ReleasePresentation();
        if (styles_ != nullptr && run.element.Get() != element.Get()) styles_->Release(run.element);
    }
    return 1;
}

}  // namespace SVG
