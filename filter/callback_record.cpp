// The adapters behind the callback record's entries. The host calls them
// with the exporter object first; each one repacks the arguments (records
// built on the stack live for the one call) and forwards to its operation.
#include "callback_record.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace svgf {
namespace {

CAbstractPI* Self(void* object) {
    return static_cast<CAbstractPI*>(object);
}

// No exception may unwind into the host's frames: one that escapes an
// operation becomes a failed answer.
template <typename Call>
int32_t Guard(Call&& call) noexcept {
    try {
        return call();
    } catch (...) {
        return kFailed;
    }
}

int32_t SVGF_CALL BeginClipGroupEntry(void* o, HostWord a1, HostWord a2) {
    return Guard([&] { return Self(o)->BeginClipGroup(a1, a2); });
}
int32_t SVGF_CALL BeginNamedLayerEntry(void* o, const char* name) {
    return Guard([&] { return Self(o)->BeginNamedLayer(name); });
}
int32_t SVGF_CALL BeginGroupEntry(void* o) {
    return Guard([&] { return Self(o)->BeginGroup(); });
}
int32_t SVGF_CALL BeginDrawingEntry(void* o) {
    return Guard([&] { return Self(o)->BeginDrawing(); });
}

int32_t SVGF_CALL BeginTransformEntry(void* o, const HostAttributes* attributes, const HostMatrix* matrix,
                                      const HostRect* box) {
    const TransformRecord record{attributes, matrix, box};
    return Guard([&] { return Self(o)->BeginTransform(&record); });
}

int32_t SVGF_CALL ResetFlagEntry(void* o, HostWord) {
    return Guard([&] { return Self(o)->ResetFlag(); });
}

int32_t SVGF_CALL QueryObjectKindByTypeEntry(void* o, uint32_t kind, const void* data) {
    return Guard([&] { return Self(o)->QueryObjectKindByType(kind, data); });
}

int32_t SVGF_CALL Reserved14Entry(void* o) {
    return Guard([&] { return Self(o)->Reserved14(); });
}
int32_t SVGF_CALL Reserved47Entry(void* o, HostWord a1, HostWord a2) {
    return Guard([&] { return Self(o)->Reserved47(a1, a2); });
}

// One character: the run points at a 16-bit copy of the argument's low half.
int32_t SVGF_CALL DrawCharacterEntry(void* o, uint32_t character, const HostPoint* position) {
    const uint16_t code = static_cast<uint16_t>(character);
    const TextRunRecord run{1, &code, position};
    return Guard([&] { return Self(o)->DrawTextRun(&run); });
}

int32_t SVGF_CALL Reserved23Entry(void* o, HostWord a1, HostWord a2, HostWord a3, HostWord a4, HostWord a5,
                                  HostWord a6, HostWord a7) {
    const Reserved23Record record{{a1, a2, a3, a4, static_cast<uint16_t>(a5), a6, a7}};
    return Guard([&] { return Self(o)->Reserved23(&record); });
}

int32_t SVGF_CALL DrawBitmapEntry(void* o, HostWord a1, HostHandle bitmap, HostWord a3,
                                  const HostRect* destination, const HostMatrix* matrix,
                                  const HostRect* visible, HostWord a7, HostWord a8) {
    return Guard([&] { return Self(o)->DrawBitmap(a1, bitmap, a3, destination, matrix, visible, a7, a8); });
}

int32_t SVGF_CALL DrawEllipseEntry(void* o, const HostAttributes* attributes, int32_t cx, int32_t cy,
                                   int32_t width, int32_t height, HostWord f5, HostWord f6, HostWord f7,
                                   HostWord f8, const HostRect* box, HostWord) {
    const EllipseRecord record{attributes, cx, cy, width, height, {f5, f6, f7, f8}, box};
    return Guard([&] { return Self(o)->DrawEllipse(&record); });
}

int32_t SVGF_CALL EndNamedLayerEntry(void* o) {
    return Guard([&] { return Self(o)->EndNamedLayer(); });
}
int32_t SVGF_CALL EndGroupEntry(void* o) {
    return Guard([&] { return Self(o)->EndGroup(); });
}
int32_t SVGF_CALL EndDrawingEntry(void* o) {
    return Guard([&] { return Self(o)->EndDrawing(); });
}
int32_t SVGF_CALL EndTransformEntry(void* o) {
    return Guard([&] { return Self(o)->EndTransform(); });
}
int32_t SVGF_CALL Reserved32Entry(void* o) {
    return Guard([&] { return Self(o)->Reserved32(); });
}

int32_t SVGF_CALL DrawPathEntry(void* o, const HostAttributes* attributes, uint32_t count,
                                const HostPoint* points, const uint8_t* types, const HostRect* box,
                                HostWord) {
    const PathRecord record{attributes, static_cast<uint16_t>(count), points, types, box};
    return Guard([&] { return Self(o)->DrawPath(&record); });
}

int32_t SVGF_CALL TakesObjectsEntry(void* o, HostWord argument) {
    return Guard(
        [&] { return Self(o)->QueryObjectKind(6, reinterpret_cast<const ObjectKindQuery*>(argument)); });
}

int32_t SVGF_CALL DrawRectangleEntry(void* o, const HostAttributes* attributes, int32_t cx, int32_t cy,
                                     int32_t width, int32_t height, int32_t corner, HostWord further,
                                     const HostRect* box, HostWord) {
    const RectangleRecord record{attributes, cx, cy, width, height, corner, further, box};
    return Guard([&] { return Self(o)->DrawRectangle(&record); });
}

int32_t SVGF_CALL EndClipGroupEntry(void* o) {
    return Guard([&] { return Self(o)->EndClipGroup(); });
}

int32_t SVGF_CALL DefineFontEntry(void* o, HostWord first, int32_t fontId, uint32_t styleFlags, int32_t size,
                                  int32_t rotation) {
    const FontRecord record{first, fontId, styleFlags, size, rotation};
    return Guard([&] { return Self(o)->DefineFont(&record); });
}

TextRecord TextRecordHead(HostWord a1, HostWord a2, HostWord a3, HostWord a4, HostWord a5, HostWord a6,
                          const int32_t* pointed) {
    TextRecord record{};
    const HostWord words[6] = {a1, a2, a3, a4, a5, a6};
    std::copy(std::begin(words), std::end(words), record.word);
    // A host that has nothing to point at passes null; the record then
    // carries zeros rather than a read through it.
    if (pointed != nullptr) {
        record.pointed[0] = pointed[0];
        record.pointed[1] = pointed[1];
    }
    return record;
}

// The 8-bit text is widened into a buffer of its own. Bytes are taken as
// ISO-8859-1 code points (zero-extended), the encoding the document declares.
int32_t SVGF_CALL DrawText8Entry(void* o, HostWord a1, HostWord a2, HostWord a3, HostWord a4, HostWord a5,
                                 HostWord a6, const int32_t* pointed, const char* text, int32_t length,
                                 HostWord) {
    TextRecord record = TextRecordHead(a1, a2, a3, a4, a5, a6, pointed);
    uint16_t wide[kTextRecordMaxLength] = {};
    const int32_t count = text == nullptr ? 0 : std::clamp(length, 0, kTextRecordMaxLength);
    for (int32_t i = 0; i < count; ++i) wide[i] = static_cast<unsigned char>(text[i]);
    record.text = wide;
    record.length = count;
    return Guard([&] { return Self(o)->Reserved27(&record); });
}

int32_t SVGF_CALL DrawText16Entry(void* o, HostWord a1, HostWord a2, HostWord a3, HostWord a4, HostWord a5,
                                  HostWord a6, const int32_t* pointed, const uint16_t* text, int32_t length,
                                  HostWord a10) {
    TextRecord record = TextRecordHead(a1, a2, a3, a4, a5, a6, pointed);
    record.text = text;
    record.length = length;
    record.word10 = a10;
    return Guard([&] { return Self(o)->Reserved27(&record); });
}

int32_t SVGF_CALL AnswersZero112Entry(void*, HostWord, HostWord) {
    return 0;
}

int32_t SVGF_CALL SetCallbackSetEntry(void* o, const HostCallbackSet* newSet, HostCallbackSet* previous) {
    return Guard([&] { return Self(o)->SetCallbackSet(newSet, previous); });
}

int32_t SVGF_CALL Reserved20Entry(void* o, HostWord a1) {
    return Guard([&] { return Self(o)->Reserved20(a1); });
}
int32_t SVGF_CALL Reserved21Entry(void* o, HostWord a1) {
    return Guard([&] { return Self(o)->Reserved21(a1); });
}
int32_t SVGF_CALL Reserved22Entry(void* o) {
    return Guard([&] { return Self(o)->Reserved22(); });
}
int32_t SVGF_CALL Reserved37Entry(void* o, HostWord a1) {
    return Guard([&] { return Self(o)->Reserved37(a1); });
}
int32_t SVGF_CALL Reserved38Entry(void* o) {
    return Guard([&] { return Self(o)->Reserved38(); });
}

int32_t SVGF_CALL Reserved39Entry(void* o, HostWord a1, HostWord a2, HostWord a3, HostWord a4) {
    const Reserved39Record record{{a1, a2, a3, a4}};
    return Guard([&] { return Self(o)->Reserved39(&record); });
}

int32_t SVGF_CALL Reserved40Entry(void* o, HostWord a1) {
    return Guard([&] { return Self(o)->Reserved40(a1); });
}
int32_t SVGF_CALL Reserved41Entry(void* o) {
    return Guard([&] { return Self(o)->Reserved41(); });
}
int32_t SVGF_CALL Reserved42Entry(void* o, HostWord a1) {
    return Guard([&] { return Self(o)->Reserved42(a1); });
}
int32_t SVGF_CALL Reserved43Entry(void* o, HostWord a1, HostWord a2, HostWord a3) {
    return Guard([&] { return Self(o)->Reserved43(a1, a2, a3); });
}

// The three built path forms share one attribute set: a fill and an outline
// record made here, whole-sized because the style code copies them whole.
struct BuiltStyle {
    HostFillRecord fill{};
    HostOutlineRecord outline{};
    HostAttributes attributes{};

    BuiltStyle() {
        attributes.fill = &fill;
        attributes.outline = &outline;
    }
    BuiltStyle(const BuiltStyle&) = delete;
    BuiltStyle& operator=(const BuiltStyle&) = delete;

    // Uniform fill in the colour, no outline.
    void Filled(const ColorRecord& colour) {
        fill.kind = kFillUniform;
        std::memcpy(fill.body, &colour, sizeof colour);
        outline.kind = kOutlineNone;
    }

    // No fill, a solid outline in the colour.
    void Outlined(const ColorRecord& colour) {
        fill.kind = kFillNone;
        outline.kind = kOutlineSolid;
        outline.width = kOutlinedPathWidth;
        outline.value12 = 100;
        outline.colour = colour;
    }
};

// The built paths take a 32-bit count, the path record 16 bits: a longer
// path is refused rather than cut to the count's low half.
bool FitsNodeCount(int32_t count) {
    return count >= 0 && count <= 0xFFFF;
}

int32_t SVGF_CALL FillPolygonEntry(void* o, const HostPoint* points, int32_t count,
                                   const ColorRecord* colour) {
    if (colour == nullptr) return kFailed;
    // An empty polygon has no first or last point to mark: nothing to draw.
    if (count <= 0) return kDone;
    if (!FitsNodeCount(count)) return kFailed;
    std::unique_ptr<uint8_t[]> types(new (std::nothrow) uint8_t[static_cast<size_t>(count)]);
    if (!types) return kFailed;
    std::memset(types.get(), 0x44, static_cast<size_t>(count));
    types[0] = 0x04;
    types[count - 1] |= 0x08;
    BuiltStyle style;
    style.Filled(*colour);
    const PathRecord record{&style.attributes, static_cast<uint16_t>(count), points, types.get(), nullptr};
    return Guard([&] { return Self(o)->DrawPath(&record); });
}

int32_t SVGF_CALL NotHandled168Entry(void*, HostWord, HostWord, HostWord) {
    return kNotHandled;
}

int32_t SVGF_CALL FillPathEntry(void* o, const HostPoint* points, const uint8_t* types, int32_t count,
                                const ColorRecord* colour) {
    if (colour == nullptr) return kFailed;
    if (!FitsNodeCount(count)) return kFailed;
    BuiltStyle style;
    style.Filled(*colour);
    const PathRecord record{&style.attributes, static_cast<uint16_t>(count), points, types, nullptr};
    return Guard([&] { return Self(o)->DrawPath(&record); });
}

int32_t SVGF_CALL CallHostCallback2Entry(void* o, HostWord argument) {
    return Guard([&] { return Self(o)->CallHostCallback2(0, argument); });
}
int32_t SVGF_CALL CallHostCallback1Entry(void* o, HostWord argument) {
    return Guard([&] { return Self(o)->CallHostCallback1(0, argument); });
}

int32_t SVGF_CALL OutlinePathEntry(void* o, const HostPoint* points, const uint8_t* types, int32_t count,
                                   const ColorRecord* colour) {
    if (colour == nullptr) return kFailed;
    if (!FitsNodeCount(count)) return kFailed;
    BuiltStyle style;
    style.Outlined(*colour);
    const PathRecord record{&style.attributes, static_cast<uint16_t>(count), points, types, nullptr};
    return Guard([&] { return Self(o)->DrawPath(&record); });
}

int32_t SVGF_CALL AnswersZero188Entry(void*, HostWord, HostWord, HostWord, HostWord, HostWord, HostWord,
                                      HostWord, HostWord, HostWord, HostWord) {
    return 0;
}

int32_t SVGF_CALL DrawTextRunEntry(void* o, int32_t count, const uint16_t* characters,
                                   const HostPoint* positions) {
    const TextRunRecord run{count, characters, positions};
    return Guard([&] { return Self(o)->DrawTextRun(&run); });
}

int32_t SVGF_CALL Reserved44Entry(void* o, HostWord a1, HostWord a2, HostWord a3, HostWord a4) {
    return Guard([&] { return Self(o)->Reserved44(a1, a2, a3, a4); });
}
int32_t SVGF_CALL Reserved45Entry(void* o, HostWord a1, HostWord a2, HostWord a3, HostWord a4, HostWord a5,
                                  HostWord a6) {
    return Guard([&] { return Self(o)->Reserved45(a1, a2, a3, a4, a5, a6); });
}
int32_t SVGF_CALL Reserved46Entry(void* o, HostWord a1, HostWord a2, HostWord a3, HostWord a4, HostWord a5,
                                  HostWord a6, HostWord a7) {
    return Guard([&] { return Self(o)->Reserved46(a1, a2, a3, a4, a5, a6, a7); });
}

int32_t SVGF_CALL QueryInformationEntry(void* o, int32_t code, void* out, const void* in) {
    return Guard([&] { return Self(o)->QueryInformation(code, out, in); });
}

int32_t SVGF_CALL BeginObjectGroupEntry(void* o, const void* link) {
    return Guard([&] { return Self(o)->BeginObjectGroup(link); });
}
int32_t SVGF_CALL BeginLinkEntry(void* o, const void* link) {
    return Guard([&] { return Self(o)->BeginLink(link); });
}
int32_t SVGF_CALL EndLinkEntry(void* o) {
    return Guard([&] { return Self(o)->EndLink(); });
}
int32_t SVGF_CALL BeginDocumentEntry(void* o, const DocumentRecord* d) {
    return Guard([&] { return Self(o)->BeginDocument(d); });
}
int32_t SVGF_CALL EndDocumentEntry(void* o) {
    return Guard([&] { return Self(o)->EndDocument(); });
}
int32_t SVGF_CALL BeginPageEntry(void* o, const PageRecord* p) {
    return Guard([&] { return Self(o)->BeginPage(p); });
}
int32_t SVGF_CALL EndPageEntry(void* o) {
    return Guard([&] { return Self(o)->EndPage(); });
}
int32_t SVGF_CALL BeginLayerEntry(void* o, const LayerRecord* l) {
    return Guard([&] { return Self(o)->BeginLayer(l); });
}
int32_t SVGF_CALL EndLayerEntry(void* o) {
    return Guard([&] { return Self(o)->EndLayer(); });
}
int32_t SVGF_CALL Reserved6Entry(void* o, HostWord a1) {
    return Guard([&] { return Self(o)->Reserved6(a1); });
}
int32_t SVGF_CALL Reserved7Entry(void* o, HostWord a1) {
    return Guard([&] { return Self(o)->Reserved7(a1); });
}
int32_t SVGF_CALL Reserved8Entry(void* o, HostWord a1) {
    return Guard([&] { return Self(o)->Reserved8(a1); });
}
int32_t SVGF_CALL Reserved9Entry(void* o, HostWord a1, HostWord a2, HostWord a3) {
    return Guard([&] { return Self(o)->Reserved9(a1, a2, a3); });
}
int32_t SVGF_CALL QueryObjectKindEntry(void* o, uint32_t mode, const ObjectKindQuery* query) {
    return Guard([&] { return Self(o)->QueryObjectKind(mode, query); });
}

}  // namespace

void FillCallbackRecord(ExportCallbackRecord& r, CAbstractPI* exporter) {
    std::memset(&r, 0, sizeof r);
    r.beginClipGroup = BeginClipGroupEntry;
    r.beginNamedLayer = BeginNamedLayerEntry;
    r.beginGroup = BeginGroupEntry;
    r.beginDrawing = BeginDrawingEntry;
    r.beginTransform = BeginTransformEntry;
    r.resetFlag = ResetFlagEntry;
    r.queryObjectKindByType = QueryObjectKindByTypeEntry;
    r.reserved14 = Reserved14Entry;
    r.reserved47 = Reserved47Entry;
    r.drawCharacter = DrawCharacterEntry;
    r.reserved23 = Reserved23Entry;
    r.drawBitmap = DrawBitmapEntry;
    r.drawEllipse = DrawEllipseEntry;
    r.endNamedLayer = EndNamedLayerEntry;
    r.endGroup = EndGroupEntry;
    r.endDrawing = EndDrawingEntry;
    r.endTransform = EndTransformEntry;
    r.reserved32 = Reserved32Entry;
    r.drawPath = DrawPathEntry;
    r.takesObjects = TakesObjectsEntry;
    r.drawRectangle = DrawRectangleEntry;
    r.endClipGroup = EndClipGroupEntry;
    r.defineFont = DefineFontEntry;
    r.drawText8 = DrawText8Entry;
    r.drawText16 = DrawText16Entry;
    r.answersZero112 = AnswersZero112Entry;
    r.setCallbackSet = SetCallbackSetEntry;
    r.reserved20 = Reserved20Entry;
    r.reserved21 = Reserved21Entry;
    r.reserved22 = Reserved22Entry;
    r.reserved37 = Reserved37Entry;
    r.reserved38 = Reserved38Entry;
    r.reserved39 = Reserved39Entry;
    r.reserved40 = Reserved40Entry;
    r.reserved41 = Reserved41Entry;
    r.reserved42 = Reserved42Entry;
    r.reserved43 = Reserved43Entry;
    r.fillPolygon = FillPolygonEntry;
    r.notHandled168 = NotHandled168Entry;
    r.fillPath = FillPathEntry;
    r.callHostCallback2 = CallHostCallback2Entry;
    r.callHostCallback1 = CallHostCallback1Entry;
    r.outlinePath = OutlinePathEntry;
    r.answersZero188 = AnswersZero188Entry;
    r.drawTextRun = DrawTextRunEntry;
    r.reserved44 = Reserved44Entry;
    r.reserved45 = Reserved45Entry;
    r.reserved46 = Reserved46Entry;
    r.queryInformation = QueryInformationEntry;
    r.beginObjectGroup = BeginObjectGroupEntry;
    r.beginLink = BeginLinkEntry;
    r.endLink = EndLinkEntry;
    r.object = exporter;
    r.beginDocument = BeginDocumentEntry;
    r.endDocument = EndDocumentEntry;
    r.beginPage = BeginPageEntry;
    r.endPage = EndPageEntry;
    r.beginLayer = BeginLayerEntry;
    r.endLayer = EndLayerEntry;
    r.reserved6 = Reserved6Entry;
    r.reserved7 = Reserved7Entry;
    r.reserved8 = Reserved8Entry;
    r.reserved9 = Reserved9Entry;
    r.queryObjectKind = QueryObjectKindEntry;
}

}  // namespace svgf
