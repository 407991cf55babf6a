// StyleProperties: the initial values, the inheritance copy, the getters
// and the record's font and measurements.
#include "markup/style/style_properties.h"

#include <mutex>

#include "markup/style/graphics_imp.h"
#include "style_values.h"
#include "truncate_to_int32.h"

namespace markup::style {

using detail::FindKeywordTable;

StyleMapContext::~StyleMapContext() = default;
BaseStyleProperties::~BaseStyleProperties() = default;

namespace {

// Ids of the properties the inheritance copy takes as they are.
// 61 writing-mode, 65 direction, 67 text-anchor, 70 fill-rule, 74
// stroke-linecap, 75 stroke-linejoin, 83-87 the colour interpolation and
// rendering hints, 88 visibility, 94 clip-rule, 99 pointer-events, 116
// color-interpolation-filters, 118 kerning and 119 color-profile are
// inherited in SVG.
constexpr std::uint32_t kInheritedKeywords[] = {20, 21, 56, 57, 61, 65, 67, 70, 74, 75,
                                                83, 84, 85, 86, 87, 88, 94, 99, 116, 119};
constexpr std::uint32_t kInheritedWords[] = {9, 16, 17, 22, 23};
constexpr std::uint32_t kInheritedLengths[] = {7, 62, 63, 68, 71, 73, 77, 78, 118};
constexpr std::uint32_t kInheritedLoaded[] = {80, 81, 82};

}  // namespace

namespace {

// Blocks of value records given back, for the next records. A few suffice:
// records are made and released in nested order as the reader walks a
// document. The list is never destroyed, so that records released late in
// the process's end still find it. The address sanitizer sees every block
// come and go.
#if defined(__SANITIZE_ADDRESS__)
#define SVGFILTER_KEEPS_NO_BLOCKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SVGFILTER_KEEPS_NO_BLOCKS 1
#endif
#endif
#ifdef SVGFILTER_KEEPS_NO_BLOCKS
constexpr std::size_t kKeptBlocks = 0;
#else
constexpr std::size_t kKeptBlocks = 64;
#endif

struct KeptBlocks {
    std::mutex lock;
    std::size_t count = 0;
    void* blocks[kKeptBlocks > 0 ? kKeptBlocks : 1] = {};
};

KeptBlocks& Kept() {
    static KeptBlocks* kept = new KeptBlocks;
    return *kept;
}

}  // namespace

void* StyleProperties::Values::operator new(std::size_t size) {
    if (size == sizeof(Values) && kKeptBlocks > 0) {
        KeptBlocks& kept = Kept();
        std::lock_guard<std::mutex> hold(kept.lock);
        if (kept.count > 0) return kept.blocks[--kept.count];
    }
    return ::operator new(size);
}

void StyleProperties::Values::operator delete(void* block, std::size_t size) noexcept {
    if (block != nullptr && size == sizeof(Values) && kKeptBlocks > 0) {
        KeptBlocks& kept = Kept();
        std::lock_guard<std::mutex> hold(kept.lock);
        if (kept.count < kKeptBlocks) {
            kept.blocks[kept.count++] = block;
            return;
        }
    }
    ::operator delete(block);
}

StyleProperties::StyleProperties(StyleMapContext* mapper) : values_(std::make_unique<Values>()), mapper_(mapper) {
    Graphics& graphics = GetGraphics();
    SetIntLength(6, graphics.FontSizePixels(3), kStyleUnitAbsolute);
    // A root's relative sizes count from the initial size.
    values_->parentFontSize = values_->fontSize;
    SetIntLength(109, 0, kStyleUnitAbsolute);
    SetIntLength(110, 0, kStyleUnitAbsolute);
    SetKeyword(12, 349);
    SetKeyword(20, 164);
    SetKeyword(21, 120);
    SetKeyword(57, 164);
    for (std::uint32_t id = 105; id <= 108; ++id) SetKeyword(id, 164);
    SetFlag(5, false);
    SetFlag(3, false);
    SetIntLength(46, 100, kStyleUnitPercent);
    SetIntLength(47, 100, kStyleUnitPercent);
    for (std::uint32_t id = 24; id <= 27; ++id) SetIntLength(id, 0, kStyleUnitAbsolute);
    for (std::uint32_t id = 29; id <= 32; ++id) SetIntLength(id, 0, kStyleUnitAbsolute);
    SetKeyword(53, 164);
    SetKeyword(54, 164);
    SetKeyword(55, 272);
    SetKeyword(56, 334);
    SetLength(90, 1.0, kStyleUnitInitial, false);
    SetTextDecoration(164);
    SetFlag(4, false);
    SetKeyword(13, 358);
    SetKeyword(59, 343);
    SetPresentationalCode(0);
    SetKeyword(52, 370);
    SetKeyword(2, 334);
    SetKeyword(74, 276);
    SetKeyword(75, 325);
    SetKeyword(83, 368);
    SetKeyword(84, 267);
    SetKeyword(85, 267);
    SetKeyword(87, 267);
    SetKeyword(86, 267);
    SetKeyword(88, 390);
    SetKeyword(65, 321);
    SetKeyword(66, 334);
    SetKeyword(67, 369);
    SetKeyword(64, 268);
    // Both rules start non-zero, as SVG has them.
    SetKeyword(70, 332);
    SetKeyword(94, 332);
    SetKeyword(91, 390);
    SetKeyword(61, 320);
    SetKeyword(99, 393);
    SetKeyword(116, 313);
    SetKeyword(117, 267);
    SetKeyword(119, 267);
    SetLength(113, 1.0, kStyleUnitInitial);
    SetLength(118, 0.0, kStyleUnitInitial);
    SetListMarker(267);
    SetLength(77, 0.0, kStyleUnitInitial);
    SetLength(73, 1.0, kStyleUnitInitial);
    SetLength(78, 100.0, kStyleUnitInitial);
    SetStrokeKeyword(331);
    SetStopColor(0, false);
    SetDefaultOnlyWord(0, false);
    // SVG paints an element without a fill black.
    SetFillColour(0);
    SetLength(62, 0.0, kStyleUnitInitial);
    SetLength(63, 0.0, kStyleUnitInitial);
    SetLength(68, 0.0, kStyleUnitAbsolute, false);
    SetLength(71, 100.0, kStyleUnitInitial);
    SetMiterLimit(8.0, kStyleUnitInitial);
    SetLength(7, 1.0, kStyleUnitInitial);
    SetLength(96, 1.0, kStyleUnitInitial, false);
    SetDefaultOnlyLength(1.0, kStyleUnitInitial, false);
    SetFontFamily(kDefaultFontFace2);
    SetWord(9, 0);
    SetTransparentBackground();
    for (std::uint32_t id = 16; id <= 17; ++id) SetWord(id, 0);
    SetWord(19, 0);
    SetWord(22, 0);
    SetWord(23, 0);
    for (std::uint32_t id = 101; id <= 104; ++id) SetWord(id, 0);
    // The side widths start at the keyword medium.
    for (std::uint32_t id = 34; id <= 37; ++id) SetWord(id, 2);
    for (std::uint32_t id = 48; id <= 51; ++id) SetIntLength(id, 0, kStyleUnitAbsolute);
}

StyleProperties::~StyleProperties() = default;

Graphics& StyleProperties::GetGraphics() const {
    return mapper_ ? mapper_->GetGraphics() : Graphics::Instance();
}

void StyleProperties::InheritFrom(const StyleProperties& parent) {
    Values& v = *values_;
    const Values& p = *parent.values_;
    parent_ = &parent;
    // A size is its value with its unit: 140 user units are not 140 pixels.
    v.intLengths[6] = p.intLengths[6];
    v.fontSize = p.fontSize;
    v.parentFontSize = p.fontSize;
    for (std::uint32_t id : kInheritedKeywords) v.codes[id] = p.codes[id];
    for (std::uint32_t id : {3u, 4u, 5u}) v.flags[id] = p.flags[id];
    for (std::uint32_t id : kInheritedWords) v.words[id] = p.words[id];
    for (std::uint32_t id : kInheritedLengths) v.lengths[id] = p.lengths[id];
    for (std::uint32_t id : kInheritedLoaded) v.loaded.Take(id, p.loaded);
    for (std::uint32_t id : {90u, 96u}) {
        if (v.lengths[id].mark) v.lengths[id] = p.lengths[id];
    }
    if (v.defaultOnlyLength.mark) v.defaultOnlyLength = p.defaultOnlyLength;
    if (v.stopColourMark) {
        v.stopColour = p.stopColour;
        v.stopAlpha = p.stopAlpha;
        v.stopCurrentColour = p.stopCurrentColour;
    }
    v.colourAlpha = p.colourAlpha;
    if (v.defaultOnlyWordMark) v.defaultOnlyWord = p.defaultOnlyWord;
    v.decoration[detail::kLineThrough] = p.decoration[detail::kLineThrough];
    v.decoration[detail::kUnderline] = p.decoration[detail::kUnderline];
    v.decoration[detail::kBlink] = p.decoration[detail::kBlink];
    if (v.overflowInherit) v.decoration[detail::kOverline] = p.decoration[detail::kOverline];
    v.presentationalCode = p.presentationalCode;
    v.fill = p.fill;
    v.stroke = p.stroke;
    v.miterLimit = p.miterLimit;
    // The list marker's document and element travel with the list item's
    // children; clip paths, masks and filters apply to the element that
    // names them, never again to its children.
    v.references.At<100>() = p.references.At<100>();
    for (std::uint32_t i = 0; i < 4; ++i) v.block[i] = p.block[i];
    v.blockGiven = p.blockGiven;
    v.dashes = p.dashes;
    v.family = p.family;
    v.second = p.second;
    // The copy takes a use of its own, so that each record gives back
    // exactly what it holds.
    v.images[1] = p.images[1];
    fontWord_ = parent.fontWord_;
    fontWord2_ = parent.fontWord2_;
    controlKind_ = parent.controlKind_;
    imageKind_ = parent.imageKind_;
    kindWord_ = parent.kindWord_;
    flagsWord_ = parent.flagsWord_;
    alignWord_ = parent.alignWord_;
    sizeRequest_ = parent.sizeRequest_;
    startValue_ = parent.startValue_;
    font_ = nullptr;
}

std::int32_t StyleProperties::GetFontSize() const {
    return values_->intLengths[6].value;
}

double StyleProperties::GetFontSizeExact() const {
    return values_->fontSize;
}

double StyleProperties::GetInheritedFontSize() const {
    return values_->parentFontSize >= 0 ? values_->parentFontSize : values_->fontSize;
}

std::int32_t StyleProperties::GetFontSizeUnit() const {
    return values_->intLengths[6].unit;
}

bool StyleProperties::GetDecorationFlag() const {
    return values_->flags[4];
}

String& StyleProperties::GetFontFamily(String& out) const {
    out = values_->family;
    return out;
}

namespace {

std::int32_t PaintAnswer(const detail::Paint& paint, std::uint32_t textColour, DocTree*& document, Node*& element,
                         std::uint32_t& colour) {
    switch (paint.kind) {
        case kPaintKindURL:
            document = paint.reference.document;
            element = paint.reference.element;
            return kStylePaintURL;
        case kPaintKindColour:
            colour = paint.colour;
            return kStylePaintColour;
        case kPaintKindCurrentColour:
            colour = textColour;
            return kStylePaintColour;
        default:
            return kStylePaintNone;
    }
}

}  // namespace

std::int32_t StyleProperties::GetFill(DocTree*& document, Node*& element, std::uint32_t& colour) const {
    return PaintAnswer(values_->fill, values_->words[9], document, element, colour);
}

std::int32_t StyleProperties::GetStroke(DocTree*& document, Node*& element, std::uint32_t& colour) const {
    return PaintAnswer(values_->stroke, values_->words[9], document, element, colour);
}

std::uint8_t StyleProperties::FillKind() const {
    return values_->fill.kind;
}

std::uint8_t StyleProperties::StrokeKind() const {
    return values_->stroke.kind;
}

double StyleProperties::GetFillOpacity(std::int32_t& unit) const {
    return GetLength(71, unit);
}

double StyleProperties::GetStrokeWidth(std::int32_t& unit) const {
    return GetLength(73, unit);
}

double StyleProperties::GetStrokeMiterlimit(std::int32_t& unit) const {
    unit = values_->miterLimit.unit;
    return values_->miterLimit.value;
}

double StyleProperties::GetStrokeDashoffset(std::int32_t& unit) const {
    return GetLength(77, unit);
}

double StyleProperties::GetStrokeOpacity(std::int32_t& unit) const {
    return GetLength(78, unit);
}

double StyleProperties::GetOpacity(std::int32_t& unit) const {
    return GetLength(96, unit);
}

std::uint32_t StyleProperties::GetStrokeLinecap() const {
    return GetKeyword(74);
}

std::uint32_t StyleProperties::GetStrokeLinejoin() const {
    return GetKeyword(75);
}

std::uint32_t StyleProperties::GetDashCount() const {
    return static_cast<std::uint32_t>(values_->dashes.size());
}

bool StyleProperties::GetDash(std::uint32_t index, double& value, std::int32_t& unit) const {
    if (index >= values_->dashes.size()) return false;
    value = values_->dashes[index].value;
    unit = values_->dashes[index].unit;
    return true;
}

DocTree* StyleProperties::GetClipPath(Node*& element) const {
    const StyleReference& clip = values_->references.At<93>();
    element = clip.element;
    return clip.document;
}

DocTree* StyleProperties::GetMask(Node*& element) const {
    const StyleReference& mask = values_->references.At<95>();
    element = mask.element;
    return mask.document;
}

std::uint32_t StyleProperties::GetStopColor() const {
    return values_->stopCurrentColour ? values_->words[9] : values_->stopColour;
}

double StyleProperties::GetStopAlpha() const {
    return values_->stopCurrentColour ? values_->colourAlpha : values_->stopAlpha;
}

namespace {

double PaintAlpha(const detail::Paint& paint, double colourAlpha) {
    if (paint.kind == kPaintKindCurrentColour) return colourAlpha;
    return paint.kind == kPaintKindColour ? paint.alpha : 1.0;
}

}  // namespace

double StyleProperties::GetFillAlpha() const {
    return PaintAlpha(values_->fill, values_->colourAlpha);
}

double StyleProperties::GetStrokeAlpha() const {
    return PaintAlpha(values_->stroke, values_->colourAlpha);
}

double StyleProperties::GetStopOpacity(std::int32_t& unit) const {
    return GetLength(90, unit);
}

std::uint32_t StyleProperties::GetKeyword(std::uint32_t id) const {
    if (id == 100) return GetListMarker();
    const detail::KeywordTable* table = FindKeywordTable(id);
    return table ? detail::CodeKeyword(*table, values_->codes[id]) : 0;
}

bool StyleProperties::GetFlag(std::uint32_t id) const {
    return id < detail::kPropertySlots && values_->flags[id];
}

std::uint32_t StyleProperties::GetWord(std::uint32_t id) const {
    return id < detail::kPropertySlots ? values_->words[id] : 0;
}

std::int32_t StyleProperties::GetIntLength(std::uint32_t id, std::int32_t& unit) const {
    if (id >= detail::kPropertySlots) {
        unit = 0;
        return 0;
    }
    unit = values_->intLengths[id].unit;
    return values_->intLengths[id].value;
}

double StyleProperties::GetLength(std::uint32_t id, std::int32_t& unit) const {
    if (id >= detail::kPropertySlots) {
        unit = 0;
        return 0.0;
    }
    unit = values_->lengths[id].unit;
    return values_->lengths[id].value;
}

bool StyleProperties::GetLengthMark(std::uint32_t id) const {
    return id < detail::kPropertySlots && values_->lengths[id].mark;
}

bool StyleProperties::GetTextDecoration(std::uint32_t keyword) const {
    switch (keyword) {
        case 314: return values_->decoration[detail::kLineThrough];
        case 344: return values_->decoration[detail::kOverline];
        case 386: return values_->decoration[detail::kUnderline];
        case 271: return values_->decoration[detail::kBlink];
        default: return false;
    }
}

bool StyleProperties::GetOverflowInherit() const {
    return values_->overflowInherit;
}

StyleReference StyleProperties::GetReference(std::uint32_t id) const {
    const StyleReference* reference = values_->references.Find(id);
    return reference ? *reference : StyleReference();
}

DocTree* StyleProperties::GetLoadedDocument(std::uint32_t id) const {
    DocTree* const* loaded = values_->loaded.Find(id);
    return loaded ? *loaded : nullptr;
}

imageload::Image* StyleProperties::GetImage(std::uint32_t id) const {
    if (id == 11) return values_->images[0].Get();
    if (id == 58) return values_->images[1].Get();
    return nullptr;
}

bool StyleProperties::GetEnableBackground(std::int32_t words[4]) const {
    for (std::uint32_t i = 0; i < 4; ++i) words[i] = values_->block[i];
    return values_->blockGiven;
}

std::uint32_t StyleProperties::GetListMarker() const {
    const detail::KeywordTable* table = FindKeywordTable(100);
    return detail::CodeKeyword(*table, values_->listMarker);
}

std::uint32_t StyleProperties::GetPresentationalCode() const {
    return values_->presentationalCode;
}

String& StyleProperties::GetSecondString(String& out) const {
    out = values_->second;
    return out;
}

std::uint32_t StyleProperties::GetDefaultOnlyWord() const {
    return values_->defaultOnlyWord;
}

double StyleProperties::GetDefaultOnlyLength(std::int32_t& unit) const {
    unit = values_->defaultOnlyLength.unit;
    return values_->defaultOnlyLength.value;
}

ExtraObject* StyleProperties::GetAttachedObject() const {
    return values_->attached.get();
}

namespace {

// The face name the font back end knows: without the quotes a style sheet
// writes around a family name with blanks ('DejaVu Sans').
String UnquotedFace(const String& family) {
    const std::uint32_t length = family.Length();
    if (length < 2 || family.Text() == nullptr) return family;
    const char first = family.Text()[0];
    if ((first == '\'' || first == '"') && family.Text()[length - 1] == first) return family.Mid(1, length - 2);
    return family;
}

}  // namespace

FontRequest StyleProperties::MakeFontRequest() const {
    FontRequest request;
    request.size = values_->intLengths[6].value;
    request.bold = values_->flags[5] ? 1 : 0;
    request.italic = values_->flags[3];
    request.strikeOut = values_->decoration[detail::kLineThrough];
    request.underline = values_->decoration[detail::kUnderline];
    request.face = UnquotedFace(values_->family);
    request.fontWord = fontWord_;
    return request;
}

Font* StyleProperties::GetFont() {
    if (font_) return font_;
    FontRequest request = MakeFontRequest();
    const double factor = mapper_ ? mapper_->PointsFactor() : 1.0;
    const double pixels = factor != 0.0 ? request.size / factor + 0.5 : request.size + 0.5;
    request.size = detail::TruncateToInt32(pixels);
    font_ = GetGraphics().CreateFontFromRequest(request);
    return font_;
}

GraphicsSize StyleProperties::TextExtent(const char* text, std::int32_t length) {
    GetFont();
    Graphics& graphics = GetGraphics();
    const FontRequest request = MakeFontRequest();
    Font* font = graphics.CreateFont(request.size, request.bold > 0, request.italic, request.underline,
                                     request.strikeOut, request.face);
    DeviceContext& dc = mapper_ ? mapper_->MeasuringContext() : graphics.GetDeviceContext();
    dc.font = font;
    const GraphicsSize measured = graphics.TextExtent(text, length, font);
    const double factor = mapper_ ? mapper_->PointsFactor() : 1.0;
    return GraphicsSize{detail::TruncateToInt32(measured.cx * factor), detail::TruncateToInt32(measured.cy * factor)};
}

GraphicsSize StyleProperties::EmExtent() {
    return TextExtent("M", 1);
}

std::int32_t StyleProperties::FontMetric() {
    return GetGraphics().ItalicOverhang(MakeFontRequest());
}

}  // namespace markup::style
