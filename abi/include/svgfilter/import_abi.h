// The import side of the binary interface between the host and the module:
// the host's drawing table, through which the import builds the host's
// drawing, the import's service entries, and the records both pass.
//
// Layout rule as in filter_abi.h: on the 32-bit x86 build every record has
// the host's exact size and field offsets (static_asserts at the end); on
// 64-bit builds pointers widen and records grow, the field order stays.
//
// Several import records are the export's records seen from the other side
// and are not repeated here: the fill record (HostFillRecord, with its
// uniform colour at byte 4 and HostFountain), the outline record
// (HostOutlineRecord), the attribute record (HostAttributes), the clip
// record's first five words (ClipRecord), boxes (HostRect) and the
// transform record (HostMatrix).
#ifndef SVGFILTER_IMPORT_ABI_H
#define SVGFILTER_IMPORT_ABI_H

#include <cstddef>
#include <cstdint>

#include "svgfilter/filter_abi.h"

namespace svgf {

// A box of four 32-bit host coordinates: left, the upper y (the one of y + h
// for an SVG shape at (x, y) of size (w, h); the host's y grows upwards),
// right, the lower y. The export calls the same layout left, top, right,
// bottom.
using HostBox = HostRect;

// The host's transform record: one record for every transform the import
// passes (text objects, images, rotations, point transforms, the outline's
// own transform). It is a row-major 3-by-3 matrix of doubles whose third row
// is always (0, 0, 1) and so is not stored: x' = m0 x + m1 y + m2,
// y' = m3 x + m4 y + m5. The transform part of the outline record holds it.
using HostTransform = HostMatrix;

// The attribute record of every primitive: eight pointers, of which the
// import sets the fill (1), the outline (2), the transparency (3) and the
// hyperlink (6); HostAttributes::further[kAttributesHyperlinkField] is the
// sixth.
using HostAttributeRecord = HostAttributes;
inline constexpr size_t kAttributesHyperlinkField = 2;

// Fill kinds the import sends: kFillNone, kFillUniform, kFillFountain and
// this pattern kind, whose tile the host has the module draw through the
// callback record (below).
inline constexpr uint16_t kFillPatternTile = 10;

// Colour models of the import's colour records: RGB fills and outlines
// (kColorModelRgb with palette kind 5) and grey levels in mask fountains,
// whose 16-bit grey value stands at byte 8 of the record (channels[4]).
inline constexpr uint16_t kColorModelGrey = 9;
inline constexpr uint8_t kPaletteKindImport = 5;

// The body of a fill record of kind kFillPatternTile, from byte 4. `tile` is
// the module's, handed back to its callback when the host draws the fill.
// Packed so that a 64-bit pointer widens the block without moving it.
struct __attribute__((packed)) HostPatternTileBlock {
    HostWord tile;         // 0 (record byte 4): the module's tile
    int32_t width;         // 4: the tile's size in host units
    int32_t height;        // 8
    uint16_t word16[3];    // 12 (record byte 16): 0
    uint16_t reserved22;   // 18
    HostRect box;          // 20 (record byte 24): left, top, right, bottom of the tile
};

// Transparency types the import sends.
inline constexpr uint8_t kTransparencyImport = 5;

// The transparency record (112 bytes). A uniform transparency has a fill of
// kind 1 and start = the level in percent (0 opaque), end 100. A mask has a
// fountain (or pattern) fill of grey levels, the mask's box, the two words
// 1, the fill's kind again and the referenced gradient's geometry.
struct HostTransparencyRecord {
    uint8_t type;                // 0: kTransparencyImport
    uint8_t reserved1[7];        // 1
    const HostFillRecord* fill;  // 8
    uint32_t word12;             // 12: 0
    HostRect box;                // 16: a mask's box (left, top, right, bottom)
    uint32_t boxWords[2];        // 32: 1, 1 with a mask
    uint16_t fillKind;           // 40: the fill's kind, with a mask
    uint16_t reserved42;         // 42
    int32_t geometry[4];         // 44: linear x1, y1, x2, y2; radial cx, cy, cx + r, cy + r; else 0
    uint32_t reserved60;         // 60
    double start;                // 64: 0 to 100
    double end;                  // 72
    uint8_t reserved80[32];      // 80
};

// The hyperlink record (24 bytes): the link's zero-terminated wide text
// twice, then 0, 0, 1 and a second wide text (null when empty).
struct HostHyperlinkRecord {
    const uint16_t* text;
    const uint16_t* sameText;
    uint32_t word2;  // 0
    uint32_t word3;  // 0
    uint32_t word4;  // 1
    const uint16_t* secondText;
};

// The clip record of the push-clip entry (24 bytes): the export's clip
// record (kind 3 with top, left, bottom, right; kind 4 with a path's node
// count, points and kind bytes) and one more word, 0. A record the import
// cannot fill is sent all zero (kind 0).
inline constexpr int32_t kClipRectangle = 3;
inline constexpr int32_t kClipPath = 4;
struct HostClipRecord {
    ClipRecord clip;
    uint32_t word20;
};

// The callback record the host keeps per drawing handle (20 bytes). The
// host calls `callback` (target handle, the module's tile, word[0]) when it
// draws a fill of kind kFillPatternTile into the target handle; the module
// draws the tile's content through the drawing table with that handle.
struct HostCallbackRecord {
    HostCallbackFn callback;
    HostWord word[4];
};

// Path kind bytes of the import, one per point: the node roles of
// svgf::node (bits 7-6) and the close bit 0x08; bit 0x04 is set on points
// that are not curve controls.
namespace import_node {
inline constexpr uint8_t kOnCurve = 0x04;
inline constexpr uint8_t kMove = 0x04;
inline constexpr uint8_t kLine = 0x44;
inline constexpr uint8_t kCurveEnd = 0x84;
inline constexpr uint8_t kControl = 0xC0;
inline constexpr uint8_t kClose = 0x08;
}  // namespace import_node

// ---------------------------------------------------------------------------
// The drawing table, at FilterContext::callbackRecord (offset 88) during an
// import. Entries are addressed by index = byte offset / 4 on the 32-bit
// layout; every entry takes the drawing handle (FilterContext::hostHandle,
// or a pattern's target handle) first, and the import reads no result.
inline constexpr size_t kDrawingSlots = 72;
struct HostDrawingTable {
    HostServiceFn slot[kDrawingSlots];
};

namespace draw {
inline constexpr size_t kBeginGroup = 0x2c / 4;
inline constexpr size_t kEndGroup = 0x30 / 4;
inline constexpr size_t kPushClip = 0x4c / 4;
inline constexpr size_t kPopClip = 0x50 / 4;
inline constexpr size_t kImage = 0x7c / 4;
inline constexpr size_t kRectangle = 0x84 / 4;
inline constexpr size_t kEllipse = 0x88 / 4;
inline constexpr size_t kPath = 0x8c / 4;
inline constexpr size_t kText = 0x90 / 4;
inline constexpr size_t kExchangeCallback = 0x108 / 4;

using BeginGroupFn = int32_t(SVGF_CALL*)(HostHandle handle);
using EndGroupFn = int32_t(SVGF_CALL*)(HostHandle handle);
// The clip shape stays pushed until its pop; pushes and pops nest.
using PushClipFn = int32_t(SVGF_CALL*)(HostHandle handle, const HostClipRecord* clip, int32_t one);
using PopClipFn = int32_t(SVGF_CALL*)(HostHandle handle);
// The image: the two values the image load gave (the host's picture and a
// word), the box, the image's transform and the box twice more.
using ImageFn = int32_t(SVGF_CALL*)(HostHandle handle, const HostAttributes* attributes, HostWord picture,
                                    HostWord pictureWord, const HostBox* box, const HostTransform* transform,
                                    const HostBox* box2, const HostBox* box3, HostWord zero);
// Centre, size, the corner radius (0: square corners), a further word, box.
using RectangleFn = int32_t(SVGF_CALL*)(HostHandle handle, const HostAttributes* attributes, int32_t centreX,
                                        int32_t centreY, int32_t width, int32_t height, int32_t corner,
                                        HostWord further, const HostBox* box, HostWord zero);
using EllipseFn = int32_t(SVGF_CALL*)(HostHandle handle, const HostAttributes* attributes, int32_t centreX,
                                      int32_t centreY, int32_t width, int32_t height, HostWord f5,
                                      HostWord f6, HostWord f7, HostWord f8, const HostBox* box,
                                      HostWord zero);
using PathFn = int32_t(SVGF_CALL*)(HostHandle handle, const HostAttributes* attributes, uint32_t count,
                                   const HostPoint* points, const uint8_t* kinds, const HostBox* box,
                                   HostWord zero);
// A text: its font (a font value of service 0x1f0 or 0x1f4), style word and
// size, its transform (from the text's own frame, host units, to the
// drawing), the character origins in that frame, the wide text and its
// character count, and the text's box in the drawing.
using TextFn = int32_t(SVGF_CALL*)(HostHandle handle, const HostAttributes* attributes, int32_t font,
                                   uint32_t styleWord, int32_t size, HostWord zero,
                                   const HostTransform* transform, const HostPoint* origins,
                                   const uint16_t* text, int32_t count, const HostBox* textBox);
// Installs `install` as the handle's callback record and writes the one it
// replaces into `previous`; installing the saved record restores the host.
using ExchangeCallbackFn = int32_t(SVGF_CALL*)(HostHandle handle, const HostCallbackRecord* install,
                                               HostCallbackRecord* previous);
}  // namespace draw

// Reads a drawing entry as its typed function pointer; null when unset.
template <typename Fn>
inline Fn drawing(const HostDrawingTable* table, size_t index) {
    if (table == nullptr || index >= kDrawingSlots) return nullptr;
    return reinterpret_cast<Fn>(table->slot[index]);
}

// ---------------------------------------------------------------------------
// Linked images: the import hands a picture file to the host's own image
// import through a sub-context and a callback block.

// The sub-context flags of an image request.
inline constexpr uint32_t kSubContextImageFlags = 0x4000088;
// The kind of image handle service 0x24 opens for a request.
inline constexpr int32_t kImageHandleKind = 12;

// The callback block (240 bytes): the service table, the two results, and
// the module's callback in its fourteenth word. The host's image import calls
// `callback` (block, ...) with the picture in its third argument; the
// callback asks service 0x354 for what the drawing's image entry takes and
// keeps it in result1, the fourth argument in result2.
struct HostImageCallbackBlock;
using ImageLoadCallbackFn = int32_t(SVGF_CALL*)(HostImageCallbackBlock* block, HostWord a2, HostWord picture,
                                                HostWord pictureWord, HostWord a5, HostWord a6, HostWord a7,
                                                HostWord a8, HostWord a9);
struct HostImageCallbackBlock {
    HostServiceTable* services;    // 0
    HostWord result1;              // 4
    HostWord result2;              // 8
    HostWord word3[10];            // 12
    ImageLoadCallbackFn callback;  // 52
    HostWord word14[46];           // 56
};

namespace svc {
// Signatures of the import's services (indexes in filter_abi.h). The
// matrix, point, box and font entries the export also calls keep the
// export's signatures: 0x104 makes the identity, 0x100 combines its second
// record into its first (so it copies into an identity), 0x110 rotates about
// a centre (host angle units), 0x284 transforms points in place, 0x2e4
// gives their box, 0x2a4 makes the text object (a font handle under a
// transform record) and 0x2a8 finishes (releases) it.

// 0x8 prepares, 0x0 runs the host's image import over a sub-context.
using SubContextFn = int32_t(SVGF_CALL*)(FilterContext* subContext);
// 0x24: a nonzero handle for a request with this callback block; 0x28
// releases it.
using OpenImageHandleFn = HostHandle(SVGF_CALL*)(int32_t kind, HostImageCallbackBlock* block);
// 0x354: what the drawing's image entry takes for a picture of the image
// import, 0 when there is none.
using ImageLoadFn = HostWord(SVGF_CALL*)(HostWord picture);
// 0x1f0: the font value for a font record (zero-filled: the host's default
// font) and a font style word. The host completes the record.
using FontByDescriptionFn = int32_t(SVGF_CALL*)(FontRecord* record, uint32_t styleWord);
// 0x1f4: the font value of a family (zero-terminated ISO-8859-1), the record
// completed as for 0x1f0; 0 when the host has no font.
using FontByNameFn = int32_t(SVGF_CALL*)(const char* family, FontRecord* record, HostWord zero1,
                                         HostWord zero2);
// 0x244: writes the markup dictionaries' folder, zero-terminated, into a
// buffer of bufferSize bytes; 0 (and an empty buffer) when it does not fit.
using DictionaryFolderFn = int32_t(SVGF_CALL*)(char* buffer, uint32_t bufferSize);
// 0x290: the angle at (x1, y1) from the ray through (x2, y2) to the ray
// through (x3, y3), counter-clockwise, in host angle units
// (kAngleUnitsPerDegree), in (-180, 180] degrees; 0 when a ray has no length.
using AngleOfPointsFn = int32_t(SVGF_CALL*)(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                                            int32_t y3);
// 0x2ac: sets the text object's characters; the host writes each
// character's advance (to the next character, kerning included; the last
// one's own width) in host units into advances[0 .. count).
using SetTextFn = int32_t(SVGF_CALL*)(HostHandle object, const uint16_t* text, int32_t count,
                                      int32_t* advances);
}  // namespace svc

#if defined(__i386__)
static_assert(sizeof(HostAttributeRecord) == 32);
static_assert(sizeof(HostPatternTileBlock) == 36);
static_assert(offsetof(HostPatternTileBlock, width) + 4 == 8);
static_assert(offsetof(HostPatternTileBlock, height) + 4 == 12);
static_assert(offsetof(HostPatternTileBlock, word16) + 4 == 16);
static_assert(offsetof(HostPatternTileBlock, box) + 4 == 24);
static_assert(sizeof(HostTransparencyRecord) == 112);
static_assert(offsetof(HostTransparencyRecord, fill) == offsetof(HostTransparency, kind));
static_assert(offsetof(HostTransparencyRecord, box) == 16);
static_assert(offsetof(HostTransparencyRecord, boxWords) == 32);
static_assert(offsetof(HostTransparencyRecord, fillKind) == 40);
static_assert(offsetof(HostTransparencyRecord, geometry) == offsetof(HostTransparency, centre));
static_assert(offsetof(HostTransparencyRecord, start) == offsetof(HostTransparency, start));
static_assert(offsetof(HostTransparencyRecord, end) == offsetof(HostTransparency, end));
static_assert(sizeof(HostHyperlinkRecord) == 24);
static_assert(offsetof(HostHyperlinkRecord, word4) == 16);
static_assert(sizeof(HostClipRecord) == 24);
static_assert(offsetof(HostClipRecord, word20) == 20);
static_assert(sizeof(HostCallbackRecord) == 20);
static_assert(sizeof(HostImageCallbackBlock) == 240);
static_assert(offsetof(HostImageCallbackBlock, result2) == 8);
static_assert(offsetof(HostImageCallbackBlock, callback) == 52);
static_assert(sizeof(HostDrawingTable) == kDrawingSlots * 4);
#endif
static_assert(sizeof(HostPatternTileBlock) <= sizeof(HostFillRecord::body));
static_assert(sizeof(HostTransform) == 48 && offsetof(HostOutlineRecord, colour) -
                                                        offsetof(HostOutlineRecord, transform) ==
                                                    sizeof(HostTransform));
static_assert(draw::kExchangeCallback < kDrawingSlots);

}  // namespace svgf

#endif  // SVGFILTER_IMPORT_ABI_H
