// The text builder: a `text` element's characters as host text runs. Each
// stretch of characters (the text's own, each `tspan`'s, each `tref`'s) is
// a run in its element's style. The x, y, dx, dy and rotate lists of the
// text and its spans give values to single characters: a character with a
// value of its own starts a run of its own there, and the run goes on
// through the characters that have none, following the run before by its
// measured advance. A turned character is a run alone, turned about its
// origin. `text-anchor` moves the runs of each chunk (the runs from one
// absolute position to the next) back by the chunk's whole advance or half
// of it. The characters of a `textPath` are runs of one character each,
// set along the path it names.
#include <cmath>
#include <numbers>
#include <optional>

#include "markup/doc_element.h"
#include "byte_runs.h"
#include "path_measure.h"
#include "reader_detail.h"
#include "text_positions.h"
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

// A whitespace node before markup is character data of a text too.
bool WhitespaceText(const WDOMHandle& node, std::string& out) {
    const markup::DocElement* element =
        node.Get() != nullptr ? markup::DocElement::Of(node.Get()->GetNode()) : nullptr;
    if (element == nullptr || element->TypeId() != markup::kKindWhitespace) return false;
    out.assign(element->Text().Text() != nullptr ? element->Text().Text() : "", element->Text().Length());
    return true;
}

constexpr uint32_t kNoPath = UINT32_MAX;

// One stretch of characters: the element whose style it takes, the
// innermost element whose lists give its characters their values and the
// `textPath` it lies on.
struct Piece {
    WDOMHandle element;
    uint32_t owner = detail::TextPositions::kNone;
    uint32_t path = kNoPath;
};

// The character data of an element and its descendants, in order (what a
// `tref` takes of the element it names).
void AppendCharacterData(const WDOMHandle& node, std::string& out, int depth) {
    if (depth > WParser::kMaxDepth) return;
    for (WDOMHandle child = node.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        const uint16_t type = child.GetNodeType();
        std::string blank;
        if (IsTextNode(type)) {
            out += child.GetData().View();
            for (uint32_t joined = RunLength(child); joined > 1 && !child.GetNextSibling().IsNull(); --joined)
                child = child.GetNextSibling();
        } else if (WhitespaceText(child, blank)) {
            out += blank;
        } else if (type == markup::kDOMElementNode) {
            AppendCharacterData(child, out, depth + 1);
        }
    }
}

// Gathers the text's stretches and the lists of the elements they lie in.
class PieceCollector {
  public:
    explicit PieceCollector(const WParser& reader) : reader_(reader) {}

    void Collect(const WDOMHandle& node, uint32_t owner, int depth) {
        if (depth > WParser::kMaxDepth) return;
        const bool preserve = detail::PreservesSpace(node);
        for (WDOMHandle child = node.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
            const uint16_t type = child.GetNodeType();
            std::string blank;
            if (IsTextNode(type)) {
                Add(node, std::string(child.GetData().View()), preserve, owner);
                // The run's other nodes gave their text already.
                for (uint32_t joined = RunLength(child); joined > 1 && !child.GetNextSibling().IsNull(); --joined)
                    child = child.GetNextSibling();
                continue;
            }
            if (WhitespaceText(child, blank)) {
                Add(node, std::move(blank), preserve, owner);
                continue;
            }
            if (type != markup::kDOMElementNode) continue;
            const std::string name = detail::NameOf(child);
            const bool placed = name == "tspan" || name == "tref";
            if (!placed && name != "a" && name != "textPath") continue;  // desc, title and others draw nothing
            const uint32_t inner = placed ? positions.Open(detail::Attributes(child), owner, pieces.size()) : owner;
            if (name == "tref") {
                const detail::Attributes attributes(child);
                const std::string* href = attributes.Href();
                const WDOMHandle target = href != nullptr ? reader_.ResolveHref(*href) : WDOMHandle();
                if (!target.IsNull()) {
                    std::string data;
                    AppendCharacterData(target, data, depth + 1);
                    Add(child, std::move(data), detail::PreservesSpace(child), inner);
                }
            } else if (name == "textPath") {
                // Its characters go along its path, a nested one's along
                // the nested path.
                const uint32_t outer = path_;
                path_ = static_cast<uint32_t>(paths.size());
                paths.push_back(child);
                Collect(child, inner, depth + 1);
                path_ = outer;
            } else {
                Collect(child, inner, depth + 1);
            }
            if (inner != owner) positions.Close(inner, pieces.size());
        }
    }

    std::vector<Piece> pieces;
    std::vector<detail::SpacedText> stretches;
    detail::TextPositions positions;
    std::vector<WDOMHandle> paths;

  private:
    void Add(const WDOMHandle& element, std::string text, bool preserve, uint32_t owner) {
        pieces.push_back({element, owner, path_});
        stretches.push_back({std::move(text), preserve});
    }

    const WParser& reader_;
    uint32_t path_ = kNoPath;
};

// A run laid out in the text's user space: bytes of its piece's text.
struct Run {
    size_t piece = 0;
    size_t begin = 0, length = 0;
    WPoint at;
    double advance = 0;
    std::optional<double> rotate;
    bool onPath = false;  // placed along a path, its advance given
    bool measured = false;
};

// A piece's characters in its element's style, the font size in user
// units beside it.
struct StyledPiece {
    WText text;
    double size = 0;
    double hostSize = 0;
    // What the placing and the drawing ask of the piece's style after its
    // record went.
    int32_t anchor = text_anchor::kStart;
    bool referenceFill = false;
};

// The elements from `node` up to the text element (which is left out),
// `node` first.
std::vector<const void*> ElementsBelow(const WDOMHandle& node, const WDOMHandle& text) {
    std::vector<const void*> chain;
    for (WDOMHandle at = node;
         !at.IsNull() && at.Get() != text.Get() && chain.size() <= WParser::kMaxDepth + 1;
         at = WDOMHandle(at->parentNode())) {
        chain.push_back(at.Get());
    }
    return chain;
}

// Lets go of the styles of the elements above `done` (itself included,
// the text element left out) that do not hold `next`: the pieces are in
// document order, so those have no piece left. A text of many spans then
// holds the records of the spans open at one place, not of all of them.
void ReleaseFinished(WStyleSource* styles, const WDOMHandle& done, const WDOMHandle& next,
                     const WDOMHandle& text) {
    if (styles == nullptr || done.Get() == next.Get()) return;
    const std::vector<const void*> finished = ElementsBelow(done, text);
    const std::vector<const void*> open = ElementsBelow(next, text);
    // Both chains end in the ancestors they share.
    size_t shared = 0;
    while (shared < finished.size() && shared < open.size() &&
           finished[finished.size() - 1 - shared] == open[open.size() - 1 - shared]) {
        ++shared;
    }
    WDOMHandle at = done;
    for (size_t k = 0; k + shared < finished.size(); ++k, at = WDOMHandle(at->parentNode()))
        styles->Release(at);
}

bool Shifts(const std::optional<WLength>& shift) {
    return shift && shift->value != 0;
}

}  // namespace

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
    const uint32_t textOwner = collector.positions.Open(frame.attributes, detail::TextPositions::kNone, 0);
    collector.Collect(element, textOwner, 0);
    collector.positions.Close(textOwner, collector.pieces.size());
    detail::ArrangeSpaces(collector.stretches);
    std::vector<Piece>& pieces = collector.pieces;
    std::vector<uint64_t> pieceStarts;
    pieceStarts.reserve(pieces.size() + 1);
    std::vector<std::vector<size_t>> codePoints(pieces.size());
    // Without lists a piece off a path is one run: its characters are
    // counted, and only the first one's start is kept.
    const bool listed = !collector.positions.Empty();
    uint64_t characters = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        pieceStarts.push_back(characters);
        const std::string& text = collector.stretches[i].text;
        if (listed || pieces[i].path != kNoPath) {
            codePoints[i] = detail::CodePointStarts(text);
            characters += codePoints[i].size();
            continue;
        }
        const size_t count = detail::CountSequenceStarts(text.data(), text.size());
        if (count == 0) continue;
        size_t first = 0;
        while ((static_cast<unsigned char>(text[first]) & 0xC0) == 0x80) ++first;
        codePoints[i] = {first};
        characters += count;
    }
    pieceStarts.push_back(characters);
    if (characters == 0) return 1;
    collector.positions.Count(pieceStarts);

    // Each piece in its style, each run where its first character's values
    // and the advances before it put it.
    std::vector<StyledPiece> styled(pieces.size());
    std::vector<Run> runs;
    std::vector<size_t> chunkStarts;
    WPoint pen;
    // The advance of a run in user units, as the host measures it.
    const auto measure = [&](size_t i, size_t begin, size_t length) {
        StyledPiece& piece = styled[i];
        if (canvas_ == nullptr || !(piece.hostSize > 0) || !std::isfinite(piece.hostSize)) return 0.0;
        piece.text.text.Assign(std::string_view(collector.stretches[i].text).substr(begin, length));
        const double advance = canvas_->MeasureText(piece.text) * piece.size / piece.hostSize;
        return std::isfinite(advance) ? advance : 0.0;
    };
    const auto finish = [&](Run& run) {
        if (run.onPath || run.measured) return;
        run.measured = true;
        run.advance = measure(run.piece, run.begin, run.length);
        pen.x += run.advance;
    };
    const auto style = [&](size_t i) {
        StyledPiece& piece = styled[i];
        StyleTextRun(element, pieces[i].element, piece.text.presentation, nullptr);
        if (piece.text.presentation.font == nullptr) piece.text.presentation.font = std::make_unique<WFont>();
        WLength userSize = piece.text.presentation.font->size;
        LengthToUser(userSize, kVertical);
        WLength hostSize = piece.text.presentation.font->size;
        LengthToHost(hostSize, kVertical);
        piece.size = std::isfinite(userSize.value) ? std::fabs(userSize.value) : 0;
        piece.hostSize = hostSize.value;
        piece.text.presentation.font->size = hostSize;
        piece.text.matrix = Current();
        const WComputedStyle& computed = StyleOf(pieces[i].element);
        piece.anchor = computed.textAnchor;
        piece.referenceFill = computed.fill.kind == WStylePaint::Kind::kReference;
    };
    // A textPath's characters, each a run of its own, set along the path
    // it names; those whose middle falls off the path are not drawn, nor is
    // anything when it names no path.
    const auto alongPath = [&](const WDOMHandle& textPath, size_t from, size_t to) {
        const detail::Attributes attributes(textPath);
        const std::string* href = attributes.Href();
        const WDOMHandle target = href != nullptr ? ResolveHref(*href) : WDOMHandle();
        std::vector<detail::PathGlyph> glyphs;
        std::vector<Run> placed;
        std::optional<detail::PathMeasure> path;
        if (!target.IsNull() && KindOf(target) == element::kPath) {
            const detail::Attributes pathAttributes(target);
            const std::string* data = pathAttributes.Find(attribute::kD);
            path.emplace(data != nullptr ? std::string_view(*data) : std::string_view(),
                         detail::TransformOf(pathAttributes));
        }
        for (size_t i = from; path && i < to; ++i) {
            if (i > from) ReleaseFinished(styles_, pieces[i - 1].element, pieces[i].element, element);
            const std::vector<size_t>& starts = codePoints[i];
            if (starts.empty()) continue;
            style(i);
            const std::string& text = collector.stretches[i].text;
            for (size_t c = 0; c < starts.size(); ++c) {
                const detail::CharacterValues v = collector.positions.At(pieces[i].owner, pieceStarts[i] + c);
                Run run;
                run.piece = i;
                run.begin = starts[c];
                run.length = (c + 1 < starts.size() ? starts[c + 1] : text.size()) - starts[c];
                run.onPath = true;
                run.advance = measure(i, run.begin, run.length);
                detail::PathGlyph glyph;
                glyph.advance = run.advance;
                if (v.dx) glyph.dx = detail::UserLength(*this, *v.dx, kHorizontal);
                if (v.dy) glyph.dy = detail::UserLength(*this, *v.dy, kVertical);
                if (v.rotate && std::isfinite(*v.rotate)) glyph.rotate = *v.rotate;
                glyphs.push_back(glyph);
                placed.push_back(run);
            }
        }
        if (placed.empty()) return;
        double offset = 0;
        if (const std::string* written = attributes.FindName("startOffset")) {
            const WLength length = ParseLength(*written);
            if (length.kind == unit::kPercent) {
                offset = path->Length() * length.value / 100;
            } else if (length.kind != unit::kNone && std::isfinite(length.value)) {
                offset = detail::UserLength(*this, length, kHorizontal);
            }
        }
        const int32_t anchor = styled[placed.front().piece].anchor;
        const std::vector<detail::PlacedGlyph> where = detail::PlaceAlongPath(*path, offset, anchor, glyphs, &pen);
        for (size_t k = 0; k < placed.size(); ++k) {
            if (!where[k].drawn) continue;
            placed[k].at = where[k].origin;
            placed[k].rotate = where[k].angle;
            runs.push_back(placed[k]);
        }
    };
    // The characters after a path start a chunk of their own.
    bool newChunk = false;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) ReleaseFinished(styles_, pieces[i - 1].element, pieces[i].element, element);
        if (pieces[i].path != kNoPath) {
            size_t end = i;
            while (end < pieces.size() && pieces[end].path == pieces[i].path) ++end;
            if (!runs.empty()) finish(runs.back());
            const size_t first = runs.size();
            alongPath(collector.paths[pieces[i].path], i, end);
            // Pieces the path left without a run give their styles back.
            std::vector<bool> drawn(end - i, false);
            for (size_t r = first; r < runs.size(); ++r) drawn[runs[r].piece - i] = true;
            for (size_t k = i; k < end; ++k) {
                if (styled[k].text.presentation.font == nullptr || drawn[k - i]) continue;
                styled[k].text.ReleasePresentation();
                if (styles_ != nullptr && pieces[k].element.Get() != element.Get()) styles_->Release(pieces[k].element);
            }
            chunkStarts.push_back(first);
            newChunk = true;
            i = end - 1;
            continue;
        }
        const std::vector<size_t>& starts = codePoints[i];
        if (starts.empty()) continue;
        style(i);

        const std::string& text = collector.stretches[i].text;
        for (size_t c = 0; c < starts.size(); ++c) {
            const detail::CharacterValues v = collector.positions.At(pieces[i].owner, pieceStarts[i] + c);
            const bool turned = v.rotate && std::isfinite(*v.rotate) && *v.rotate != 0;
            const bool afterTurn = !runs.empty() && (runs.back().rotate || runs.back().onPath);
            const bool opens = c == 0 || v.x || v.y || Shifts(v.dx) || Shifts(v.dy) || turned || afterTurn;
            const size_t end = c + 1 < starts.size() ? starts[c + 1] : text.size();
            if (!opens) {
                runs.back().length = end - runs.back().begin;
                continue;
            }
            if (!runs.empty()) finish(runs.back());
            if (runs.empty() || v.x || v.y || newChunk) chunkStarts.push_back(runs.size());
            newChunk = false;
            if (v.x) pen.x = detail::UserLength(*this, *v.x, kHorizontal, pen.x);
            if (v.y) pen.y = detail::UserLength(*this, *v.y, kVertical, pen.y);
            if (v.dx) pen.x += detail::UserLength(*this, *v.dx, kHorizontal);
            if (v.dy) pen.y += detail::UserLength(*this, *v.dy, kVertical);
            Run run;
            run.piece = i;
            run.begin = starts[c];
            run.length = end - starts[c];
            run.at = pen;
            if (turned) run.rotate = *v.rotate;
            runs.push_back(run);
        }
    }
    if (!pieces.empty()) ReleaseFinished(styles_, pieces.back().element, element, element);
    if (runs.empty()) return 1;
    finish(runs.back());

    // Each chunk moved back by its anchor's share of its advance.
    chunkStarts.push_back(runs.size());
    for (size_t c = 0; c + 1 < chunkStarts.size(); ++c) {
        const size_t first = chunkStarts[c];
        const size_t end = chunkStarts[c + 1];
        // Characters on a path were anchored along it.
        if (first >= end || runs[first].onPath) continue;
        const int32_t anchor = styled[runs[first].piece].anchor;
        if (anchor == text_anchor::kStart) continue;
        const Run& last = runs[end - 1];
        const double advance = last.at.x + last.advance - runs[first].at.x;
        const double shift = anchor == text_anchor::kMiddle ? advance / 2 : advance;
        for (size_t k = first; k < end; ++k) runs[k].at.x -= shift;
    }

    for (size_t k = 0; k < runs.size(); ++k) {
        const Run& run = runs[k];
        StyledPiece& piece = styled[run.piece];
        const WDOMHandle& runElement = pieces[run.piece].element;
        WText& out = piece.text;
        out.text.Assign(std::string_view(collector.stretches[run.piece].text).substr(run.begin, run.length));
        out.matrix = Current();
        if (run.rotate) {
            // The character turns about its origin.
            const double angle = *run.rotate * std::numbers::pi / 180;
            const double cs = std::cos(angle), sn = std::sin(angle);
            out.matrix.Multiply(cs, sn, -sn, cs, run.at.x - cs * run.at.x + sn * run.at.y,
                                run.at.y - sn * run.at.x - cs * run.at.y);
        }
        const WPoint host = Current().Transform(run.at);
        out.x = host.x;
        out.y = host.y;
        if (piece.referenceFill) {
            // Reference paints depend on the box (one in the box's units
            // has none without it): the run's advance wide, the size tall
            // above the baseline.
            const WBox box{run.at.x, run.at.y - piece.size, run.advance > 0 ? run.advance : piece.size, piece.size};
            const WLength hostSize = out.presentation.font->size;
            StyleTextRun(element, runElement, out.presentation, &box);
            if (out.presentation.font == nullptr) out.presentation.font = std::make_unique<WFont>();
            out.presentation.font->size = hostSize;
        }
        if (canvas_ != nullptr) canvas_->DrawText(out);
        // The piece's style goes with its last run.
        if (k + 1 < runs.size() && runs[k + 1].piece == run.piece) continue;
        out.ReleasePresentation();
        ReleaseFinished(styles_, runElement,
                        k + 1 < runs.size() ? pieces[runs[k + 1].piece].element : element, element);
    }
    return 1;
}

}  // namespace SVG
