// The binary interface between the host application and the filter module:
// the records both sides read and write, and the calling conventions of the
// functions they hand each other.
//
// Layout rule: on the 32-bit x86 build every record has the host's exact size
// and field offsets (checked by the static_asserts at the end). On 64-bit
// builds pointers widen and the records grow; the field order stays, and the
// size stamp written into FilterContext::size stays 748.
#ifndef SVGFILTER_FILTER_ABI_H
#define SVGFILTER_FILTER_ABI_H

#include <cstddef>
#include <cstdint>

// Functions crossing the interface use the callee-pops convention on 32-bit x86.
#if defined(__i386__)
#define SVGF_CALL __attribute__((stdcall))
#else
#define SVGF_CALL
#endif

#define SVGF_EXPORT extern "C" __attribute__((visibility("default")))

namespace svgf {

// The size the host stamps into every context, and that sub-contexts carry.
inline constexpr uint32_t kContextSize = 748;

// FilterEntry command codes.
enum Command : uint32_t {
    kCmdImport = 1,
    kCmdNop2 = 2,
    kCmdImportSetup = 3,
    kCmdNop4 = 4,
    kCmdBeginExport = 5,
    kCmdEndImport = 6,
    kCmdEndExport = 7,
    kCmdNop8 = 8,
    kCmdOptions = 9,
    kCmdNop10 = 10,
};

// FilterContext::flags bits.
inline constexpr uint32_t kFlagNoUserInterface = 0x4;

// FilterContext::errorCode values.
inline constexpr uint32_t kErrNoMemory = 24849;
inline constexpr uint32_t kErrDialogFailed = 24850;
inline constexpr uint32_t kErrDialogCancelled = 24862;
// An output beside the host's file, or the host's file itself, could not be
// made or written; the code names the cause. The module stores it when the
// failure happens, so a host that stops at the failed call finds it there.
// The values are the markup engine's stream status codes for these causes.
inline constexpr uint32_t kErrWriteFailed = 9934;
inline constexpr uint32_t kErrAccessDenied = 9940;
inline constexpr uint32_t kErrDiskFull = 9941;
inline constexpr uint32_t kErrHardwareIO = 9943;

// Export handler answers.
inline constexpr int32_t kDone = 0;
inline constexpr int32_t kFailed = 100;
inline constexpr int32_t kNotHandled = 202;

// Host handles (drawings, bitmaps, fonts, glyphs) are opaque 32-bit values.
using HostHandle = uint32_t;

// A point in host units (1/254000 inch, y up).
struct HostPoint {
    int32_t x;
    int32_t y;
};

// A rectangle in host units. The page rectangle is left, top, right, bottom.
struct HostRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Node-type byte of the host path form, one per point: bits 7-6 give the
// node's role, bit 3 closes the subpath at that node; other bits are free.
namespace node {
inline constexpr uint8_t kRoleMask = 0xC0;
inline constexpr uint8_t kMove = 0x00;
inline constexpr uint8_t kLine = 0x40;
inline constexpr uint8_t kCurveEnd = 0x80;  // end of a cubic; the two nodes before it are its controls
inline constexpr uint8_t kControl = 0xC0;
inline constexpr uint8_t kClose = 0x08;
}  // namespace node

// A path handed over in one block (glyph outlines): the u16 node count, two
// bytes of padding so the points stay aligned, nodeCount points, then
// nodeCount node-type bytes. The host owns the block; the module may change
// the node-type bytes until it releases the handle that came with it.
struct HostOutline {
    uint16_t nodeCount;
    uint16_t reserved;
};

inline constexpr size_t HostOutlineBytes(size_t nodeCount) {
    return sizeof(HostOutline) + nodeCount * (sizeof(HostPoint) + 1);
}
inline HostPoint* OutlinePoints(HostOutline* outline) {
    return reinterpret_cast<HostPoint*>(outline + 1);
}
inline const HostPoint* OutlinePoints(const HostOutline* outline) {
    return reinterpret_cast<const HostPoint*>(outline + 1);
}
inline uint8_t* OutlineTypes(HostOutline* outline) {
    return reinterpret_cast<uint8_t*>(OutlinePoints(outline) + outline->nodeCount);
}
inline const uint8_t* OutlineTypes(const HostOutline* outline) {
    return reinterpret_cast<const uint8_t*>(OutlinePoints(outline) + outline->nodeCount);
}

// The host's 2x3 matrix, row-major [m0 m1 m2; m3 m4 m5], with m2 and m5 the
// translation: x' = m0 x + m1 y + m2, y' = m3 x + m4 y + m5. Every matrix
// service applies its operation after the existing matrix.
struct HostMatrix {
    double m[6];
};

// The 12-byte colour record: model, palette kind, then channel bytes; for
// RGB (model 5) bytes 8, 9 and 10 hold blue, green and red.
struct ColorRecord {
    uint16_t model;
    uint8_t paletteKind;
    uint8_t reserved3;
    uint8_t channels[8];
};

inline constexpr uint16_t kColorModelRgb = 5;
inline constexpr uint16_t kColorModelHsb = 6;

// The export options record, seven words.
struct FilterContext;
struct SVGExportOptions {
    uint32_t textAsText;         // 1 text stays text, 0 text becomes curves
    uint32_t embedFonts;         // 1 or 0
    uint32_t embeddedFontsFirst; // embedded fonts take priority, 1 or 0
    uint32_t bitmapType;         // 0 JPEG, 1 GIF, 2 PNG
    uint32_t precision;          // user units per inch
    uint32_t cssPlacement;       // 0 internal sheet, 1 external ".css", 2 style attribute
    FilterContext* context;      // the context that owns the record
};

enum BitmapType : uint32_t { kBitmapJpeg = 0, kBitmapGif = 1, kBitmapPng = 2 };
enum CssPlacement : uint32_t { kCssInternal = 0, kCssExternal = 1, kCssStyleAttribute = 2 };

// Host callback set: two callback functions and a user value.
using HostCallbackFn = int32_t(SVGF_CALL*)(HostHandle hostHandle, uintptr_t argument, uintptr_t userValue);
struct HostCallbackSet {
    uint32_t unused0;
    HostCallbackFn first;
    HostCallbackFn second;
    uint32_t unused3;
    uintptr_t userValue;
};

// The host service table: entries are addressed by index = byte offset / 4
// on the 32-bit layout. Each entry's signature is given below; callers cast
// the stored pointer to it through service<>().
using HostServiceFn = void (*)();
inline constexpr size_t kServiceSlots = 256;
struct HostServiceTable {
    HostServiceFn slot[kServiceSlots];
};

namespace svc {
// Indexes into HostServiceTable::slot.
inline constexpr size_t kImportSubContext0 = 0x0 / 4;
inline constexpr size_t kRunSubFilter = 0x4 / 4;
inline constexpr size_t kImportSubContext8 = 0x8 / 4;
inline constexpr size_t kEndSubContext = 0x10 / 4;
inline constexpr size_t kOpenImageHandle = 0x24 / 4;
inline constexpr size_t kReleaseHandle = 0x28 / 4;
inline constexpr size_t kBitmapInfo = 0x48 / 4;
inline constexpr size_t kHandOverPath = 0x80 / 4;
inline constexpr size_t kRenderStep84 = 0x84 / 4;
inline constexpr size_t kHandOverRectangle = 0x8c / 4;
inline constexpr size_t kRenderStep90 = 0x90 / 4;
inline constexpr size_t kRenderStep94 = 0x94 / 4;
inline constexpr size_t kMatrixCombine = 0x100 / 4;
inline constexpr size_t kMatrixIdentity = 0x104 / 4;
inline constexpr size_t kMatrixRotate = 0x110 / 4;
inline constexpr size_t kMatrixScale = 0x114 / 4;
inline constexpr size_t kBitmapDescription = 0x12c / 4;
inline constexpr size_t kConvertColor = 0x1d0 / 4;
inline constexpr size_t kFontByDescription = 0x1f0 / 4;
inline constexpr size_t kFontByName = 0x1f4 / 4;
inline constexpr size_t kGlyphRelease1 = 0x228 / 4;
inline constexpr size_t kGlyphRelease2 = 0x22c / 4;
inline constexpr size_t kDictionaryFolder = 0x244 / 4;
inline constexpr size_t kFontFamilyName = 0x27c / 4;
inline constexpr size_t kTransformPoints = 0x284 / 4;
inline constexpr size_t kMatrixIsIdentity = 0x28c / 4;
inline constexpr size_t kAngleOfPoints = 0x290 / 4;
inline constexpr size_t kMatrixTranslate = 0x298 / 4;
inline constexpr size_t kCreateFont = 0x2a4 / 4;
inline constexpr size_t kReleaseFont = 0x2a8 / 4;
inline constexpr size_t kSetText = 0x2ac / 4;
inline constexpr size_t kPairAdvance = 0x2b0 / 4;
inline constexpr size_t kGlyphOutline = 0x2d8 / 4;
inline constexpr size_t kBoundingBox = 0x2e4 / 4;
inline constexpr size_t kInformation = 0x350 / 4;
inline constexpr size_t kImageLoad = 0x354 / 4;

// The host's angle unit: thousandths of a degree, counter-clockwise.
inline constexpr int32_t kAngleUnitsPerDegree = 1000;

// A font record's character rotation: millionths of a degree, counter-clockwise.
inline constexpr int32_t kFontRotationUnitsPerDegree = 1000000;

// The smallest family-name buffer the module hands service 0x27c.
inline constexpr uint32_t kFamilyNameBufferSize = 256;

// Signatures of the export side's services.
using RunSubFilterFn = int32_t(SVGF_CALL*)(FilterContext* subContext);
using EndSubContextFn = int32_t(SVGF_CALL*)(FilterContext* subContext);
using ReleaseHandleFn = int32_t(SVGF_CALL*)(HostHandle handle);
using BitmapInfoFn = HostHandle(SVGF_CALL*)(HostHandle bitmap);
using BitmapDescriptionFn = const void*(SVGF_CALL*)(HostHandle info);
// Optional render steps between the two runs, each given the sub-context's
// host handle first: 0x90 (handle, 0), 0x84 (handle, a1, bitmap, a3, box A,
// matrix, box A, box A, 0), 0x94 (handle).
using RenderStep90Fn = int32_t(SVGF_CALL*)(HostHandle subHandle, uint32_t zero);
using RenderStep84Fn = int32_t(SVGF_CALL*)(HostHandle subHandle, uintptr_t a1, HostHandle bitmap, uintptr_t a3,
                                           const HostRect* box, const HostMatrix* m, const HostRect* box2,
                                           const HostRect* box3, uint32_t zero);
using RenderStep94Fn = int32_t(SVGF_CALL*)(HostHandle subHandle);
using HandOverPathFn = int32_t(SVGF_CALL*)(HostHandle hostHandle, const void* attributes, int32_t count,
                                           const HostPoint* points, const uint8_t* types, const HostRect* box1,
                                           const HostRect* box2);
// The rectangle's fields after its attributes: centre, size, corner, the
// further host field, then its bounding box twice.
using HandOverRectangleFn = int32_t(SVGF_CALL*)(HostHandle hostHandle, const void* attributes, int32_t centreX,
                                                int32_t centreY, int32_t width, int32_t height, int32_t corner,
                                                uintptr_t further, const HostRect* box1, const HostRect* box2);
using MatrixIdentityFn = void(SVGF_CALL*)(HostMatrix* m);
using MatrixCombineFn = void(SVGF_CALL*)(HostMatrix* m, const HostMatrix* n);
using MatrixTranslateFn = void(SVGF_CALL*)(HostMatrix* m, int32_t x, int32_t y);
using MatrixScaleFn = void(SVGF_CALL*)(HostMatrix* m, double sx, double sy, double unused);
using MatrixRotateFn = void(SVGF_CALL*)(HostMatrix* m, int32_t angle, int32_t cx, int32_t cy);
using MatrixIsIdentityFn = int32_t(SVGF_CALL*)(const HostMatrix* m);
using TransformPointsFn = void(SVGF_CALL*)(HostPoint* points, const HostMatrix* m, int32_t count);
using BoundingBoxFn = void(SVGF_CALL*)(const HostPoint* points, int32_t count, HostRect* out);
using ConvertColorFn = void(SVGF_CALL*)(ColorRecord* out, int32_t model, const ColorRecord* in,
                                        uint32_t colourHandle);
// The export asks for a font (transform null); the import makes a text
// object under its transform record through the same entry.
using CreateFontFn = HostHandle(SVGF_CALL*)(int32_t zero1, int32_t fontId, uint32_t styleFlags, int32_t size,
                                            const HostMatrix* transform, int32_t rotation, int32_t zero3);
using ReleaseFontFn = int32_t(SVGF_CALL*)(HostHandle font);
using FontFamilyNameFn = int32_t(SVGF_CALL*)(int32_t fontId, char* nameBuffer, uint32_t bufferSize);
using PairAdvanceFn = int32_t(SVGF_CALL*)(HostHandle font, uint32_t previous, uint32_t character,
                                          int32_t* advance);
// The outline is a HostOutline owned by the glyph handle; the module marks
// its node-type bytes, so the block is writable until the glyph is released.
using GlyphOutlineFn = int32_t(SVGF_CALL*)(HostHandle font, uint32_t character, HostHandle* glyph,
                                           HostOutline** outline);
using GlyphReleaseFn = int32_t(SVGF_CALL*)(HostHandle glyph);
using InformationFn = int32_t(SVGF_CALL*)(int32_t code, void* out, const void* in);
}  // namespace svc

// Reads a service entry as its typed function pointer; null when unset.
template <typename Fn>
inline Fn service(const HostServiceTable* table, size_t index) {
    if (table == nullptr || index >= kServiceSlots) return nullptr;
    return reinterpret_cast<Fn>(table->slot[index]);
}

// The context record the host passes with every FilterEntry call. Fields not
// named are the host's and are never touched by the module.
struct FilterContext {
    uint32_t size;                 // 0: 748
    uint32_t flags;                // 4: bit 0x4 no user interface
    uint32_t reserved8;            // 8
    uint32_t subWord12;            // 12: sub-context: 1
    uint32_t subWord16;            // 16: sub-context: 1
    uint32_t reserved20;           // 20
    uint32_t pixelWidth;           // 24: sub-context: image width in pixels
    uint32_t pixelHeight;          // 28: sub-context: image height in pixels
    uint32_t bitsPerPixel;         // 32: sub-context: depth of the file to write
    uint32_t reserved36;           // 36
    uint32_t resolutionX;          // 40: sub-context: kSubContextResolution
    uint32_t resolutionY;          // 44: sub-context: kSubContextResolution
    uint32_t reserved48;           // 48
    char* fileName;                // 52: export output path / import input path
    uint32_t reserved56;           // 56
    intptr_t fileHandle;           // 60: POSIX descriptor of the opened file, 0 none
    uint8_t reserved64[20];        // 64
    HostHandle hostHandle;         // 84: the drawing being exchanged; a sub-context's own handle
    void* callbackRecord;          // 88: export callback record / import drawing table
    uint32_t reserved92;           // 92
    HostRect pageRect;             // 96: left, top, right, bottom; a sub-context's box A
    uint32_t formatCode;           // 112: sub-context: kFormatJpeg, kFormatGif or kFormatPng
    uint32_t errorCode;            // 116
    uint8_t reserved120[16];       // 120
    void* filterObject;            // 136: the module's working object
    uint8_t reserved140[40];       // 140
    uint32_t subWord180;           // 180: sub-context: 1
    uint32_t subWord184;           // 184: sub-context: 0
    uint32_t subWord188;           // 188: sub-context: 0
    uint32_t reserved192;          // 192
    HostCallbackSet* callbackSet;  // 196
    uint32_t reserved200;          // 200
    void* parentWindow;            // 204
    uint8_t reserved208[44];       // 208
    void* exchangeBlock;           // 252: 800-byte block copied into sub-contexts
    uint32_t reserved256;          // 256
    uint32_t hostValue;            // 260
    HostServiceTable* services;    // 264
    uint32_t reserved268;          // 268
    SVGExportOptions* exportOptions;  // 272
    uint8_t reserved276[72];       // 276
    uint32_t subWord348;           // 348: sub-context: 0
    uint8_t reserved352[80];       // 352
    uint32_t colourHandle;         // 432
    uint8_t reserved436[312];      // 436
};

inline constexpr size_t kExchangeBlockSize = 800;

// Sub-contexts: the records the module builds when it has the host write a
// bitmap file. The host runs its raster export filter over one twice: the
// render run makes the image (and stores its handle in hostHandle), the write
// run writes it to fileName.
inline constexpr uint32_t kFlagRenderRun = 0x2000;
inline constexpr uint32_t kFlagWriteRun = 0x4000;
inline constexpr uint32_t kSubContextRenderFlags = kFlagRenderRun | kFlagNoUserInterface;  // 0x2004
inline constexpr uint32_t kSubContextWriteFlags = kFlagWriteRun | kFlagNoUserInterface;    // 0x4004
// 72 dots per inch, in thousandths of a dot per metre.
inline constexpr uint32_t kSubContextResolution = 2834645;
// Raster format codes of FilterContext::formatCode.
inline constexpr uint32_t kFormatJpeg = 0x306;
inline constexpr uint32_t kFormatGif = 0x305;
inline constexpr uint32_t kFormatPng = 0x322;
// Bytes of a sub-context's private exchange block that the module sets.
inline constexpr size_t kExchangePalettedOffset = 780;  // 1 when the file keeps the source's palette
inline constexpr size_t kExchangeMarkOffset = 784;      // 1

// The first word of a host bitmap description (service 0x12c): how the
// host stores the bitmap's pixels. The module picks the depth of the file it
// asks for from it.
enum BitmapSourceType : uint32_t {
    kSourceRgb = 1,       // 24-bit colour
    kSourceGrey = 2,      // 8-bit grey (any code the module does not list)
    kSourceCmyk = 3,      // 32-bit CMYK
    kSourcePaletted = 5,  // up to 256 colours through a palette
    kSourceBilevel = 6,   // 1 bit a pixel
    kSourceGrey4 = 9,     // 2 or 4 bits of grey a pixel
    kSourceRgba = 11,     // colour with an alpha channel
};

using FilterEntryFn = int32_t(SVGF_CALL*)(uint32_t code, FilterContext* context);

// ---------------------------------------------------------------------------
// Export: the records the host and the callback record's entries exchange.

// A 32-bit word the host passes whose meaning is the host's. Pointer-sized so
// that it can carry an address on 64-bit builds.
using HostWord = uintptr_t;

// The host's fill record. Byte 0 holds the 16-bit fill kind (0 none,
// 1 uniform, 2 fountain, 9 to 11 patterns); what follows at byte 4 depends on
// the kind: the 12-byte colour for kind 1, the fountain or pattern block else.
inline constexpr uint16_t kFillNone = 0;
inline constexpr uint16_t kFillUniform = 1;
inline constexpr uint16_t kFillFountain = 2;
struct HostFillRecord {
    uint16_t kind;      // 0
    uint16_t reserved2;  // 2
    uint8_t body[1664];  // 4: colour, fountain block or pattern block
};

// The host's outline record. The low three bits of the kind are the outline
// type: 1 no outline, 4 dashed, anything else solid.
inline constexpr uint16_t kOutlineNone = 1;
inline constexpr uint16_t kOutlineSolid = 2;
inline constexpr uint16_t kOutlineDashed = 4;
struct HostOutlineRecord {
    uint16_t kind;           // 0
    int16_t cap;             // 2: 0, 1 or 2
    int16_t join;            // 4: 0, 1 or 2
    uint16_t reserved6;      // 6
    int32_t width;           // 8: host units
    uint16_t value12;        // 12
    uint16_t reserved14;     // 14
    uint32_t word16;         // 16
    uint32_t reserved20;     // 20
    HostMatrix transform;    // 24: the outline's own transform
    ColorRecord colour;      // 72
    uint16_t value84;        // 84
    uint8_t reserved86[14];  // 86
    uint16_t dashCount;      // 100
    int16_t dashes[11];      // 102: in units of the line width
    uint32_t word124;        // 124
    uint32_t word128;        // 128
    uint32_t reserved132;    // 132
};

// The fountain (gradient) block: at byte 4 of a fill record of kind 2, and
// after the kind and sub-kind of a transparency's kind record. With a
// transparency, a stop's level is the colour's byte 8 (channels[4]).
inline constexpr int kFountainMaxStops = 101;
struct HostFountainStop {
    ColorRecord colour;    // 0
    uint16_t position;     // 12: percent
    uint16_t reserved14;   // 14
};
struct HostFountain {
    uint16_t subKind;        // 0: 1 linear, 2 radial, 3 and 4 further forms
    uint8_t reserved2[18];   // 2
    int16_t edgePad;         // 20: percent
    uint16_t reserved22;     // 22
    int32_t angle;           // 24: host angle units
    int32_t centreX;         // 28: percent of the box (radial)
    int32_t centreY;         // 32: percent of the box (radial)
    uint16_t value36;        // 36
    uint16_t blend;          // 38: 0 two colours, 1 and 2 computed blends, 3 custom
    uint16_t value40;        // 40
    uint16_t midPoint;       // 42: percent, 50 for none
    int16_t stopCount;       // 44: at most kFountainMaxStops are read
    uint16_t reserved46;     // 46
    HostFountainStop stops[kFountainMaxStops];  // 48
};

// The pattern block: at byte 4 of a fill record of kind 9 to 11, and of a
// transparency's kind record of those kinds.
inline constexpr uint16_t kFillPatternFirst = 9;
inline constexpr uint16_t kFillPatternLast = 11;
struct HostPatternBlock {
    uint32_t tile;          // 0: handed back to the host's first callback, which draws the tile
    int32_t width;          // 4: the tile's size, host units
    int32_t height;         // 8
    uint8_t reserved12[8];  // 12
    HostRect content;       // 20: the tile content's box (left, top, right, bottom)
};
static_assert(sizeof(HostPatternBlock) <= sizeof(HostFillRecord::body));
static_assert(offsetof(HostPatternBlock, content) == 20);

// HostAttributes::further[kAttributesMatrixField] (the record's seventh
// field) points to the object's HostMatrix, which patterns follow.
inline constexpr size_t kAttributesMatrixField = 3;

// The transparency of one host object. Only type 5 is read. Its kind record
// is laid out as a fill record: the 16-bit transparency kind at byte 0 (1
// uniform, 2 fountain, 9 to 11 patterns, others the host's), then the
// fountain or pattern block at byte 4, whose first 16 bits are the sub-kind.
inline constexpr uint8_t kTransparencyType = 5;
inline constexpr uint16_t kTransparencyUniform = 1;
struct HostTransparency {
    uint8_t type;                // 0
    uint8_t reserved1[7];        // 1
    const HostFillRecord* kind;  // 8
    uint32_t centreFromBox;      // 12: 0: a radial form's centre and radius come from `centre`
    uint8_t reserved16[28];      // 16
    int32_t centre[4];           // 44: two points, offsets from the box's left and top
    uint32_t reserved60;         // 60
    double start;                // 64: level in percent, 0 opaque
    double end;                  // 72
};

// The link record of object groups and links: the hot-spot box and the link.
struct HostLinkData {
    const char* url;    // NUL-terminated 8-bit text
    HostWord further[3];
    uint32_t noHotSpot;  // non-zero: no hot-spot rectangle is written
};
struct HostLink {
    const HostRect* box;  // x1 (left), y1 (top), x2 (right), y2 (bottom)
    const HostLinkData* data;
};

// The clip record whose address is the clip-group entry's first argument
// (the second is the host's). Kind 1 and 2 are clips SVG cannot take, 3 a
// rectangle, 4 a path.
struct ClipPathShape {
    uint32_t nodeCount;  // 16 bits significant
    const HostPoint* points;
    const uint8_t* nodeTypes;
    HostWord unused;
};
struct ClipRecord {
    int32_t kind;  // 0
    union {
        int32_t rect[4];  // r1..r4: top, left, bottom, right
        ClipPathShape path;
    } shape;  // 4
};

// The attributes of one host object: its fill, outline and transparency,
// then further host fields.
struct HostAttributes {
    const HostFillRecord* fill;
    const HostOutlineRecord* outline;
    const HostTransparency* transparency;
    HostWord further[5];
};

// The records that the callback record's entries hand the exporter.
struct DocumentRecord {
    uint32_t word[8];
};
struct PageRecord {
    uint32_t word[17];
};
struct LayerRecord {
    uint32_t kind;
    uint32_t word1;
    const char* name;
    uint32_t word[7];
};
struct TransformRecord {
    const HostAttributes* attributes;
    const HostMatrix* matrix;
    const HostRect* boundingBox;
};
struct TextRunRecord {
    int32_t count;
    const uint16_t* characters;
    const HostPoint* positions;  // one per character
};
struct PathRecord {
    const HostAttributes* attributes;
    uint32_t nodeCount;  // 16 bits significant
    const HostPoint* points;
    const uint8_t* nodeTypes;  // one per point
    const HostRect* boundingBox;
};
struct RectangleRecord {
    const HostAttributes* attributes;
    int32_t centreX;
    int32_t centreY;
    int32_t width;
    int32_t height;
    int32_t corner;
    HostWord further;
    const HostRect* boundingBox;
};
struct EllipseRecord {
    const HostAttributes* attributes;
    int32_t centreX;
    int32_t centreY;
    int32_t width;
    int32_t height;
    HostWord further[4];
    const HostRect* boundingBox;
};
struct FontRecord {
    HostWord first;
    int32_t fontId;
    uint32_t styleFlags;
    int32_t size;      // host units
    int32_t rotation;  // millionths of a degree
};
// The text record of the two text entries: the 8-bit entry widens its text
// into a buffer of at most kTextRecordMaxLength characters.
inline constexpr int32_t kTextRecordMaxLength = 64;
struct TextRecord {
    HostWord word[6];
    int32_t pointed[2];  // the two words the seventh argument points to
    const uint16_t* text;
    int32_t length;
    HostWord word10;
};
struct Reserved23Record {
    HostWord word[7];
};
struct Reserved39Record {
    HostWord word[4];
};
// Object-kind query, mode 0: a kind and the record that qualifies it.
struct ObjectKindQuery {
    uint32_t kind;
    const void* data;
};

// The callback record the module places in FilterContext::callbackRecord at
// begin export. The host calls each entry with `object` as its first
// argument; entries that are null answer nothing and must not be called.
struct ExportCallbackRecord {
    HostWord unused0;                                                                  // 0
    HostWord unused4;                                                                  // 4
    int32_t(SVGF_CALL* beginClipGroup)(void* object, HostWord a1, HostWord a2);        // 8
    int32_t(SVGF_CALL* beginNamedLayer)(void* object, const char* name);               // 12
    int32_t(SVGF_CALL* beginGroup)(void* object);                                      // 16
    int32_t(SVGF_CALL* beginDrawing)(void* object);                                    // 20
    int32_t(SVGF_CALL* beginTransform)(void* object, const HostAttributes* attributes,  // 24
                                       const HostMatrix* matrix, const HostRect* boundingBox);
    int32_t(SVGF_CALL* resetFlag)(void* object, HostWord unused);                      // 28
    int32_t(SVGF_CALL* queryObjectKindByType)(void* object, uint32_t kind, const void* data);  // 32
    int32_t(SVGF_CALL* reserved14)(void* object);                                      // 36
    int32_t(SVGF_CALL* reserved47)(void* object, HostWord a1, HostWord a2);            // 40
    int32_t(SVGF_CALL* drawCharacter)(void* object, uint32_t character, const HostPoint* position);  // 44
    int32_t(SVGF_CALL* reserved23)(void* object, HostWord a1, HostWord a2, HostWord a3, HostWord a4,  // 48
                                   HostWord a5, HostWord a6, HostWord a7);
    int32_t(SVGF_CALL* drawBitmap)(void* object, HostWord a1, HostHandle bitmap, HostWord a3,  // 52
                                   const HostRect* destination, const HostMatrix* matrix,
                                   const HostRect* visible, HostWord a7, HostWord a8);
    HostWord unused56;                                                                 // 56
    int32_t(SVGF_CALL* drawEllipse)(void* object, const HostAttributes* attributes, int32_t centreX,  // 60
                                    int32_t centreY, int32_t width, int32_t height, HostWord f5,
                                    HostWord f6, HostWord f7, HostWord f8, const HostRect* boundingBox,
                                    HostWord unused);
    int32_t(SVGF_CALL* endNamedLayer)(void* object);                                   // 64
    int32_t(SVGF_CALL* endGroup)(void* object);                                        // 68
    int32_t(SVGF_CALL* endDrawing)(void* object);                                      // 72
    int32_t(SVGF_CALL* endTransform)(void* object);                                    // 76
    int32_t(SVGF_CALL* reserved32)(void* object);                                      // 80
    int32_t(SVGF_CALL* drawPath)(void* object, const HostAttributes* attributes, uint32_t nodeCount,  // 84
                                 const HostPoint* points, const uint8_t* nodeTypes,
                                 const HostRect* boundingBox, HostWord unused);
    int32_t(SVGF_CALL* takesObjects)(void* object, HostWord argument);                 // 88
    int32_t(SVGF_CALL* drawRectangle)(void* object, const HostAttributes* attributes, int32_t centreX,  // 92
                                      int32_t centreY, int32_t width, int32_t height, int32_t corner,
                                      HostWord further, const HostRect* boundingBox, HostWord unused);
    int32_t(SVGF_CALL* endClipGroup)(void* object);                                    // 96
    int32_t(SVGF_CALL* defineFont)(void* object, HostWord first, int32_t fontId, uint32_t styleFlags,  // 100
                                   int32_t size, int32_t rotation);
    int32_t(SVGF_CALL* drawText8)(void* object, HostWord a1, HostWord a2, HostWord a3, HostWord a4,  // 104
                                  HostWord a5, HostWord a6, const int32_t* pointed, const char* text,
                                  int32_t length, HostWord unused);
    int32_t(SVGF_CALL* drawText16)(void* object, HostWord a1, HostWord a2, HostWord a3, HostWord a4,  // 108
                                   HostWord a5, HostWord a6, const int32_t* pointed, const uint16_t* text,
                                   int32_t length, HostWord a10);
    int32_t(SVGF_CALL* answersZero112)(void* object, HostWord a1, HostWord a2);        // 112
    int32_t(SVGF_CALL* setCallbackSet)(void* object, const HostCallbackSet* newSet,   // 116
                                       HostCallbackSet* previous);
    HostWord unused120;                                                                // 120
    int32_t(SVGF_CALL* reserved20)(void* object, HostWord a1);                         // 124
    int32_t(SVGF_CALL* reserved21)(void* object, HostWord a1);                         // 128
    int32_t(SVGF_CALL* reserved22)(void* object);                                      // 132
    int32_t(SVGF_CALL* reserved37)(void* object, HostWord a1);                         // 136
    int32_t(SVGF_CALL* reserved38)(void* object);                                      // 140
    int32_t(SVGF_CALL* reserved39)(void* object, HostWord a1, HostWord a2, HostWord a3, HostWord a4);  // 144
    int32_t(SVGF_CALL* reserved40)(void* object, HostWord a1);                         // 148
    int32_t(SVGF_CALL* reserved41)(void* object);                                      // 152
    int32_t(SVGF_CALL* reserved42)(void* object, HostWord a1);                         // 156
    int32_t(SVGF_CALL* reserved43)(void* object, HostWord a1, HostWord a2, HostWord a3);  // 160
    int32_t(SVGF_CALL* fillPolygon)(void* object, const HostPoint* points, int32_t count,  // 164
                                    const ColorRecord* colour);
    int32_t(SVGF_CALL* notHandled168)(void* object, HostWord a1, HostWord a2, HostWord a3);  // 168
    int32_t(SVGF_CALL* fillPath)(void* object, const HostPoint* points, const uint8_t* nodeTypes,  // 172
                                 int32_t count, const ColorRecord* colour);
    int32_t(SVGF_CALL* callHostCallback2)(void* object, HostWord argument);            // 176
    int32_t(SVGF_CALL* callHostCallback1)(void* object, HostWord argument);            // 180
    int32_t(SVGF_CALL* outlinePath)(void* object, const HostPoint* points, const uint8_t* nodeTypes,  // 184
                                    int32_t count, const ColorRecord* colour);
    int32_t(SVGF_CALL* answersZero188)(void* object, HostWord a1, HostWord a2, HostWord a3, HostWord a4,  // 188
                                       HostWord a5, HostWord a6, HostWord a7, HostWord a8, HostWord a9,
                                       HostWord a10);
    HostWord unused192;                                                                // 192
    int32_t(SVGF_CALL* drawTextRun)(void* object, int32_t count, const uint16_t* characters,  // 196
                                    const HostPoint* positions);
    int32_t(SVGF_CALL* reserved44)(void* object, HostWord a1, HostWord a2, HostWord a3, HostWord a4);  // 200
    int32_t(SVGF_CALL* reserved45)(void* object, HostWord a1, HostWord a2, HostWord a3, HostWord a4,  // 204
                                   HostWord a5, HostWord a6);
    int32_t(SVGF_CALL* reserved46)(void* object, HostWord a1, HostWord a2, HostWord a3, HostWord a4,  // 208
                                   HostWord a5, HostWord a6, HostWord a7);
    int32_t(SVGF_CALL* queryInformation)(void* object, int32_t code, void* out, const void* in);  // 212
    int32_t(SVGF_CALL* beginObjectGroup)(void* object, const void* link);             // 216
    int32_t(SVGF_CALL* beginLink)(void* object, const void* link);                    // 220
    int32_t(SVGF_CALL* endLink)(void* object);                                         // 224
    HostWord unused228;                                                                // 228
    HostWord unused232;                                                                // 232
    void* object;                                                                      // 236
    int32_t(SVGF_CALL* beginDocument)(void* object, const DocumentRecord* document);   // 240
    int32_t(SVGF_CALL* endDocument)(void* object);                                     // 244
    int32_t(SVGF_CALL* beginPage)(void* object, const PageRecord* page);               // 248
    int32_t(SVGF_CALL* endPage)(void* object);                                         // 252
    int32_t(SVGF_CALL* beginLayer)(void* object, const LayerRecord* layer);            // 256
    int32_t(SVGF_CALL* endLayer)(void* object);                                        // 260
    int32_t(SVGF_CALL* reserved6)(void* object, HostWord a1);                          // 264
    int32_t(SVGF_CALL* reserved7)(void* object, HostWord a1);                          // 268
    int32_t(SVGF_CALL* reserved8)(void* object, HostWord a1);                          // 272
    int32_t(SVGF_CALL* reserved9)(void* object, HostWord a1, HostWord a2, HostWord a3);  // 276
    int32_t(SVGF_CALL* queryObjectKind)(void* object, uint32_t mode, const ObjectKindQuery* query);  // 280
};

// Every entry is one pointer-sized word; the 32-bit layout has 71 of them.
inline constexpr size_t kCallbackRecordWords = 71;
inline constexpr size_t kCallbackRecordObjectWord = 59;
static_assert(sizeof(ExportCallbackRecord) == kCallbackRecordWords * sizeof(void*));
static_assert(offsetof(ExportCallbackRecord, object) == kCallbackRecordObjectWord * sizeof(void*));
static_assert(offsetof(ExportCallbackRecord, queryObjectKind) == 70 * sizeof(void*));
static_assert(sizeof(HostFillRecord) == 1668);
static_assert(sizeof(HostOutlineRecord) == 136);
static_assert(sizeof(HostFountain) == sizeof(HostFillRecord::body));
static_assert(offsetof(HostFountain, edgePad) == 20);
static_assert(offsetof(HostFountain, angle) == 24);
static_assert(offsetof(HostFountain, blend) == 38);
static_assert(offsetof(HostFountain, midPoint) == 42);
static_assert(offsetof(HostFountain, stopCount) == 44);
static_assert(offsetof(HostFountain, stops) == 48);
static_assert(offsetof(HostOutlineRecord, transform) == 24);
static_assert(offsetof(HostOutlineRecord, colour) == 72);
static_assert(offsetof(HostOutlineRecord, dashCount) == 100);
static_assert(offsetof(HostOutlineRecord, word124) == 124);
static_assert(sizeof(DocumentRecord) == 32);
static_assert(sizeof(PageRecord) == 68);

#if defined(__i386__)
static_assert(sizeof(SVGExportOptions) == 28);
static_assert(sizeof(HostCallbackSet) == 20);
static_assert(offsetof(HostCallbackSet, first) == 4);
static_assert(offsetof(HostCallbackSet, second) == 8);
static_assert(offsetof(HostCallbackSet, userValue) == 16);
static_assert(sizeof(HostServiceTable) == kServiceSlots * 4);
static_assert(sizeof(FilterContext) == 748);
static_assert(offsetof(FilterContext, flags) == 4);
static_assert(offsetof(FilterContext, subWord12) == 12);
static_assert(offsetof(FilterContext, subWord16) == 16);
static_assert(offsetof(FilterContext, pixelWidth) == 24);
static_assert(offsetof(FilterContext, pixelHeight) == 28);
static_assert(offsetof(FilterContext, bitsPerPixel) == 32);
static_assert(offsetof(FilterContext, resolutionX) == 40);
static_assert(offsetof(FilterContext, resolutionY) == 44);
static_assert(offsetof(FilterContext, fileName) == 52);
static_assert(offsetof(FilterContext, fileHandle) == 60);
static_assert(offsetof(FilterContext, hostHandle) == 84);
static_assert(offsetof(FilterContext, callbackRecord) == 88);
static_assert(offsetof(FilterContext, pageRect) == 96);
static_assert(offsetof(FilterContext, formatCode) == 112);
static_assert(offsetof(FilterContext, errorCode) == 116);
static_assert(offsetof(FilterContext, subWord180) == 180);
static_assert(offsetof(FilterContext, subWord184) == 184);
static_assert(offsetof(FilterContext, subWord188) == 188);
static_assert(offsetof(FilterContext, filterObject) == 136);
static_assert(offsetof(FilterContext, callbackSet) == 196);
static_assert(offsetof(FilterContext, parentWindow) == 204);
static_assert(offsetof(FilterContext, exchangeBlock) == 252);
static_assert(offsetof(FilterContext, hostValue) == 260);
static_assert(offsetof(FilterContext, services) == 264);
static_assert(offsetof(FilterContext, exportOptions) == 272);
static_assert(offsetof(FilterContext, subWord348) == 348);
static_assert(offsetof(FilterContext, colourHandle) == 432);
static_assert(sizeof(ExportCallbackRecord) == 284);
static_assert(offsetof(ExportCallbackRecord, object) == 236);
static_assert(sizeof(HostAttributes) == 32);
static_assert(sizeof(LayerRecord) == 40);
static_assert(sizeof(TransformRecord) == 12);
static_assert(sizeof(TextRunRecord) == 12);
static_assert(sizeof(PathRecord) == 20);
static_assert(sizeof(RectangleRecord) == 32);
static_assert(sizeof(EllipseRecord) == 40);
static_assert(sizeof(FontRecord) == 20);
static_assert(sizeof(TextRecord) == 44);
static_assert(sizeof(Reserved23Record) == 28);
static_assert(sizeof(Reserved39Record) == 16);
static_assert(sizeof(ObjectKindQuery) == 8);
static_assert(offsetof(HostTransparency, kind) == 8);
static_assert(offsetof(HostTransparency, centreFromBox) == 12);
static_assert(offsetof(HostTransparency, centre) == 44);
static_assert(offsetof(HostTransparency, start) == 64);
static_assert(offsetof(HostTransparency, end) == 72);
static_assert(sizeof(HostLink) == 8);
static_assert(offsetof(HostLinkData, noHotSpot) == 16);
static_assert(sizeof(ClipRecord) == 20);
static_assert(offsetof(ClipRecord, shape.path.points) == 8);
#endif
static_assert(sizeof(ColorRecord) == 12);
static_assert(sizeof(HostOutline) == 4 && sizeof(HostPoint) == 8);
static_assert(sizeof(HostMatrix) == 48);

}  // namespace svgf

// The module's one exported function.
SVGF_EXPORT int32_t SVGF_CALL FilterEntry(uint32_t code, svgf::FilterContext* context);

#endif  // SVGFILTER_FILTER_ABI_H
