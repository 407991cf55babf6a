// The callback record's entries, called the way the host calls them, against
// a spy exporter that records which operation each one reaches and with what.
#include "callback_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "abstract_pi.h"

namespace svgf {
namespace {

using Words = std::vector<uintptr_t>;

uintptr_t W(const void* p) {
    return reinterpret_cast<uintptr_t>(p);
}

struct SpyCall {
    int slot = -1;
    Words args;
    // Copies of what built records point to, taken during the call.
    std::vector<uint8_t> nodeTypes;
    HostFillRecord fill{};
    HostOutlineRecord outline{};
    bool hasStyle = false;
};

// Overrides every operation; each answers 1000 + its slot.
class SpyExporter final : public CAbstractPI {
  public:
    std::vector<SpyCall> calls;

    int32_t Hit(int slot, Words args) {
        SpyCall call;
        call.slot = slot;
        call.args = std::move(args);
        calls.push_back(std::move(call));
        return 1000 + slot;
    }

    int32_t BeginDocument(const DocumentRecord* d) override { return Hit(0, {W(d)}); }
    int32_t EndDocument() override { return Hit(1, {}); }
    int32_t BeginPage(const PageRecord* p) override { return Hit(2, {W(p)}); }
    int32_t EndPage() override { return Hit(3, {}); }
    int32_t BeginLayer(const LayerRecord* l) override { return Hit(4, {W(l)}); }
    int32_t EndLayer() override { return Hit(5, {}); }
    int32_t Reserved6(HostWord a) override { return Hit(6, {a}); }
    int32_t Reserved7(HostWord a) override { return Hit(7, {a}); }
    int32_t Reserved8(HostWord a) override { return Hit(8, {a}); }
    int32_t Reserved9(HostWord a, HostWord b, HostWord c) override { return Hit(9, {a, b, c}); }
    int32_t Reserved10(HostWord a) override { return Hit(10, {a}); }
    int32_t Reserved11() override { return Hit(11, {}); }
    int32_t BeginClipGroup(HostWord a, HostWord b) override { return Hit(12, {a, b}); }
    int32_t EndClipGroup() override { return Hit(13, {}); }
    int32_t Reserved14() override { return Hit(14, {}); }
    int32_t Reserved15(HostWord a, HostWord b) override { return Hit(15, {a, b}); }
    int32_t Reserved16() override { return Hit(16, {}); }
    void Reserved17(HostWord a, HostWord b, HostWord c) override { Hit(17, {a, b, c}); }
    void Reserved18(HostWord a, HostWord b, HostWord c) override { Hit(18, {a, b, c}); }
    int32_t Reserved19(HostWord a, HostWord b) override { return Hit(19, {a, b}); }
    int32_t Reserved20(HostWord a) override { return Hit(20, {a}); }
    int32_t Reserved21(HostWord a) override { return Hit(21, {a}); }
    int32_t Reserved22() override { return Hit(22, {}); }
    int32_t Reserved23(const Reserved23Record* r) override { return Hit(23, Words(r->word, r->word + 7)); }
    int32_t DrawRectangle(const RectangleRecord* r) override {
        return Hit(24, {W(r->attributes), uintptr_t(r->centreX), uintptr_t(r->centreY), uintptr_t(r->width),
                        uintptr_t(r->height), uintptr_t(r->corner), r->further, W(r->boundingBox)});
    }
    int32_t DrawEllipse(const EllipseRecord* e) override {
        return Hit(25, {W(e->attributes), uintptr_t(e->centreX), uintptr_t(e->centreY), uintptr_t(e->width),
                        uintptr_t(e->height), e->further[0], e->further[1], e->further[2], e->further[3],
                        W(e->boundingBox)});
    }
    int32_t DrawPath(const PathRecord* p) override {
        const int32_t answer =
            Hit(26, {W(p->attributes), p->nodeCount, W(p->points), W(p->nodeTypes), W(p->boundingBox)});
        SpyCall& call = calls.back();
        if (p->nodeTypes != nullptr) call.nodeTypes.assign(p->nodeTypes, p->nodeTypes + p->nodeCount);
        if (p->attributes != nullptr && p->attributes->fill != nullptr && p->attributes->outline != nullptr) {
            call.hasStyle = true;
            call.fill = *p->attributes->fill;
            call.outline = *p->attributes->outline;
            for (HostWord w : p->attributes->further) EXPECT_EQ(w, 0u);
            EXPECT_EQ(p->attributes->transparency, nullptr);
        }
        return answer;
    }
    int32_t Reserved27(const TextRecord* t) override {
        Words args(t->word, t->word + 6);
        args.push_back(uintptr_t(t->pointed[0]));
        args.push_back(uintptr_t(t->pointed[1]));
        for (int32_t i = 0; i < t->length; ++i) args.push_back(t->text[i]);
        args.push_back(uintptr_t(t->length));
        args.push_back(t->word10);
        return Hit(27, args);
    }
    int32_t DrawBitmap(HostWord a1, HostHandle b, HostWord a3, const HostRect* d, const HostMatrix* m,
                       const HostRect* v, HostWord a7, HostWord a8) override {
        return Hit(28, {a1, b, a3, W(d), W(m), W(v), a7, a8});
    }
    int32_t CallHostCallback1(HostWord a, HostWord b) override { return Hit(29, {a, b}); }
    int32_t CallHostCallback2(HostWord a, HostWord b) override { return Hit(30, {a, b}); }
    int32_t ResetFlag() override { return Hit(31, {}); }
    int32_t Reserved32() override { return Hit(32, {}); }
    int32_t BeginTransform(const TransformRecord* t) override {
        return Hit(33, {W(t->attributes), W(t->matrix), W(t->boundingBox)});
    }
    int32_t EndTransform() override { return Hit(34, {}); }
    int32_t DefineFont(const FontRecord* f) override {
        return Hit(
            35, {f->first, uintptr_t(f->fontId), f->styleFlags, uintptr_t(f->size), uintptr_t(f->rotation)});
    }
    // The first character stands for the characters pointer, which may be
    // the adapter's own copy.
    int32_t DrawTextRun(const TextRunRecord* r) override {
        return Hit(36, {uintptr_t(r->count), r->count > 0 ? r->characters[0] : 0u, W(r->positions)});
    }
    int32_t Reserved37(HostWord a) override { return Hit(37, {a}); }
    int32_t Reserved38() override { return Hit(38, {}); }
    int32_t Reserved39(const Reserved39Record* r) override { return Hit(39, Words(r->word, r->word + 4)); }
    int32_t Reserved40(HostWord a) override { return Hit(40, {a}); }
    int32_t Reserved41() override { return Hit(41, {}); }
    int32_t Reserved42(HostWord a) override { return Hit(42, {a}); }
    int32_t Reserved43(HostWord a, HostWord b, HostWord c) override { return Hit(43, {a, b, c}); }
    int32_t Reserved44(HostWord a, HostWord b, HostWord c, HostWord d) override {
        return Hit(44, {a, b, c, d});
    }
    int32_t Reserved45(HostWord a, HostWord b, HostWord c, HostWord d, HostWord e, HostWord f) override {
        return Hit(45, {a, b, c, d, e, f});
    }
    int32_t Reserved46(HostWord a, HostWord b, HostWord c, HostWord d, HostWord e, HostWord f,
                       HostWord g) override {
        return Hit(46, {a, b, c, d, e, f, g});
    }
    int32_t Reserved47(HostWord a, HostWord b) override { return Hit(47, {a, b}); }
    int32_t QueryObjectKind(uint32_t mode, const ObjectKindQuery* q) override {
        return Hit(48, {mode, W(q)});
    }
    int32_t QueryObjectKindByType(uint32_t kind, const void* data) override {
        return Hit(49, {kind, W(data)});
    }
    int32_t QueryInformation(int32_t code, void* out, const void* in) override {
        return Hit(50, {uintptr_t(code), W(out), W(in)});
    }
    int32_t SetCallbackSet(const HostCallbackSet* s, HostCallbackSet* p) override {
        return Hit(51, {W(s), W(p)});
    }
    int32_t BeginDrawing() override { return Hit(52, {}); }
    int32_t EndDrawing() override { return Hit(53, {}); }
    int32_t BeginNamedLayer(const char* name) override { return Hit(54, {W(name)}); }
    int32_t EndNamedLayer() override { return Hit(55, {}); }
    int32_t BeginGroup() override { return Hit(56, {}); }
    int32_t BeginObjectGroup(const void* l) override { return Hit(57, {W(l)}); }
    int32_t EndGroup() override { return Hit(58, {}); }
    int32_t BeginLink(const void* l) override { return Hit(59, {W(l)}); }
    int32_t EndLink() override { return Hit(60, {}); }
    HostWord Reserved61(HostWord a) override { return HostWord(Hit(61, {a})); }
};

// Addresses the entries pass through; never dereferenced by the spy.
const HostAttributes kAttrs{};
const HostRect kBoxA{1, 2, 3, 4};
const HostRect kBoxB{5, 6, 7, 8};
const HostMatrix kMatrix{{1, 0, 0, 0, 1, 0}};
const HostPoint kPoints[3] = {{0, 0}, {10, 0}, {10, 10}};
const uint8_t kTypes[3] = {0, 0x40, 0x48};
const uint16_t kChars[3] = {0x41, 0x42, 0x43};
const int32_t kPointed[2] = {21, 22};
const char kLayerName[] = "Layer 1";
const ObjectKindQuery kQuery{3, nullptr};
const HostCallbackSet kSet{};
HostCallbackSet gPrevious{};
const DocumentRecord kDocument{};
const PageRecord kPage{};
const LayerRecord kLayer{};

constexpr int kNoCall = -1;

struct EntryCase {
    const char* name;
    size_t wordOffset;  // the entry's offset in the 32-bit record
    size_t memberOffset;
    std::function<int32_t(const ExportCallbackRecord&)> invoke;
    int slot;  // kNoCall: answers by itself
    Words args;
    int32_t answer;
};

#define ENTRY(off, member) \
#member, off, offsetof(ExportCallbackRecord, member), [](const ExportCallbackRecord& r)

const EntryCase kCases[] = {{ENTRY(8, beginClipGroup){return r.beginClipGroup(r.object, 11, 12);
}  // namespace
, 12, {11, 12}, 1012
}  // namespace svgf
, {ENTRY(12, beginNamedLayer){return r.beginNamedLayer(r.object, kLayerName);
}
, 54, {W(kLayerName)}, 1054
}
, {ENTRY(16, beginGroup){return r.beginGroup(r.object);
}
, 56, {}, 1056
}
, {ENTRY(20, beginDrawing){return r.beginDrawing(r.object);
}
, 52, {}, 1052
}
, {ENTRY(24, beginTransform){return r.beginTransform(r.object, &kAttrs, &kMatrix, &kBoxA);
}
, 33, {W(&kAttrs), W(&kMatrix), W(&kBoxA)}, 1033
}
, {ENTRY(28, resetFlag){return r.resetFlag(r.object, 11);
}
, 31, {}, 1031
}
, {ENTRY(32, queryObjectKindByType){return r.queryObjectKindByType(r.object, 11, &kBoxA);
}
, 49, {11, W(&kBoxA)}, 1049
}
, {ENTRY(36, reserved14){return r.reserved14(r.object);
}
, 14, {}, 1014
}
, {ENTRY(40, reserved47){return r.reserved47(r.object, 11, 12);
}
, 47, {11, 12}, 1047
}
, {ENTRY(44, drawCharacter){return r.drawCharacter(r.object, 0x12340041, &kPoints[0]);
}
, 36, {1, 0x41, W(&kPoints[0])}, 1036
}
, {ENTRY(48, reserved23){return r.reserved23(r.object, 11, 12, 13, 14, 0x12345, 16, 17);
}
, 23, {11, 12, 13, 14, 0x2345, 16, 17}, 1023
}
, {ENTRY(52, drawBitmap){return r.drawBitmap(r.object, 11, 12, 13, &kBoxA, &kMatrix, &kBoxB, 17, 18);
}
, 28, {11, 12, 13, W(&kBoxA), W(&kMatrix), W(&kBoxB), 17, 18}, 1028
}
, {ENTRY(60, drawEllipse){return r.drawEllipse(r.object, &kAttrs, 1, 2, 3, 4, 5, 6, 7, 8, &kBoxA, 99);
}
, 25, {W(&kAttrs), 1, 2, 3, 4, 5, 6, 7, 8, W(&kBoxA)}, 1025
}
, {ENTRY(64, endNamedLayer){return r.endNamedLayer(r.object);
}
, 55, {}, 1055
}
, {ENTRY(68, endGroup){return r.endGroup(r.object);
}
, 58, {}, 1058
}
, {ENTRY(72, endDrawing){return r.endDrawing(r.object);
}
, 53, {}, 1053
}
, {ENTRY(76, endTransform){return r.endTransform(r.object);
}
, 34, {}, 1034
}
, {ENTRY(80, reserved32){return r.reserved32(r.object);
}
, 32, {}, 1032
}
, {ENTRY(84, drawPath){return r.drawPath(r.object, &kAttrs, 0x10003, kPoints, kTypes, &kBoxA, 99);
}
, 26, {W(&kAttrs), 3, W(kPoints), W(kTypes), W(&kBoxA)}, 1026
}
, {ENTRY(88, takesObjects){return r.takesObjects(r.object, 11);
}
, 48, {6, 11}, 1048
}
, {ENTRY(92, drawRectangle){return r.drawRectangle(r.object, &kAttrs, 1, 2, 3, 4, 5, 6, &kBoxA, 99);
}
, 24, {W(&kAttrs), 1, 2, 3, 4, 5, 6, W(&kBoxA)}, 1024
}
, {ENTRY(96, endClipGroup){return r.endClipGroup(r.object);
}
, 13, {}, 1013
}
, {ENTRY(100, defineFont){return r.defineFont(r.object, 11, 12, 13, 14, 15);
}
, 35, {11, 12, 13, 14, 15}, 1035
}
,
    // The 8-bit text: each byte becomes its ISO-8859-1 code point.
    {ENTRY(104, drawText8){return r.drawText8(r.object, 1, 2, 3, 4, 5, 6, kPointed, "A\xE9", 2, 99);
}
, 27, {1, 2, 3, 4, 5, 6, 21, 22, 0x41, 0xE9, 2, 0}, 1027
}
, {ENTRY(108, drawText16){return r.drawText16(r.object, 1, 2, 3, 4, 5, 6, kPointed, kChars, 3, 99);
}
, 27, {1, 2, 3, 4, 5, 6, 21, 22, 0x41, 0x42, 0x43, 3, 99}, 1027
}
, {ENTRY(112, answersZero112){return r.answersZero112(r.object, 11, 12);
}
, kNoCall, {}, 0
}
, {ENTRY(116, setCallbackSet){return r.setCallbackSet(r.object, &kSet, &gPrevious);
}
, 51, {W(&kSet), W(&gPrevious)}, 1051
}
, {ENTRY(124, reserved20){return r.reserved20(r.object, 11);
}
, 20, {11}, 1020
}
, {ENTRY(128, reserved21){return r.reserved21(r.object, 11);
}
, 21, {11}, 1021
}
, {ENTRY(132, reserved22){return r.reserved22(r.object);
}
, 22, {}, 1022
}
, {ENTRY(136, reserved37){return r.reserved37(r.object, 11);
}
, 37, {11}, 1037
}
, {ENTRY(140, reserved38){return r.reserved38(r.object);
}
, 38, {}, 1038
}
, {ENTRY(144, reserved39){return r.reserved39(r.object, 11, 12, 13, 14);
}
, 39, {11, 12, 13, 14}, 1039
}
, {ENTRY(148, reserved40){return r.reserved40(r.object, 11);
}
, 40, {11}, 1040
}
, {ENTRY(152, reserved41){return r.reserved41(r.object);
}
, 41, {}, 1041
}
, {ENTRY(156, reserved42){return r.reserved42(r.object, 11);
}
, 42, {11}, 1042
}
, {ENTRY(160, reserved43){return r.reserved43(r.object, 11, 12, 13);
}
, 43, {11, 12, 13}, 1043
}
, {ENTRY(168, notHandled168){return r.notHandled168(r.object, 11, 12, 13);
}
, kNoCall, {}, 202
}
, {ENTRY(176, callHostCallback2){return r.callHostCallback2(r.object, 11);
}
, 30, {0, 11}, 1030
}
, {ENTRY(180, callHostCallback1){return r.callHostCallback1(r.object, 11);
}
, 29, {0, 11}, 1029
}
, {ENTRY(188, answersZero188){return r.answersZero188(r.object, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10);
}
, kNoCall, {}, 0
}
, {ENTRY(196, drawTextRun){return r.drawTextRun(r.object, 3, kChars, kPoints);
}
, 36, {3, 0x41, W(kPoints)}, 1036
}
, {ENTRY(200, reserved44){return r.reserved44(r.object, 11, 12, 13, 14);
}
, 44, {11, 12, 13, 14}, 1044
}
, {ENTRY(204, reserved45){return r.reserved45(r.object, 11, 12, 13, 14, 15, 16);
}
, 45, {11, 12, 13, 14, 15, 16}, 1045
}
, {ENTRY(208, reserved46){return r.reserved46(r.object, 11, 12, 13, 14, 15, 16, 17);
}
, 46, {11, 12, 13, 14, 15, 16, 17}, 1046
}
, {ENTRY(212, queryInformation){return r.queryInformation(r.object, 9, &gPrevious, &kBoxA);
}
, 50, {9, W(&gPrevious), W(&kBoxA)}, 1050
}
, {ENTRY(216, beginObjectGroup){return r.beginObjectGroup(r.object, &kBoxA);
}
, 57, {W(&kBoxA)}, 1057
}
, {ENTRY(220, beginLink){return r.beginLink(r.object, &kBoxB);
}
, 59, {W(&kBoxB)}, 1059
}
, {ENTRY(224, endLink){return r.endLink(r.object);
}
, 60, {}, 1060
}
, {ENTRY(240, beginDocument){return r.beginDocument(r.object, &kDocument);
}
, 0, {W(&kDocument)}, 1000
}
, {ENTRY(244, endDocument){return r.endDocument(r.object);
}
, 1, {}, 1001
}
, {ENTRY(248, beginPage){return r.beginPage(r.object, &kPage);
}
, 2, {W(&kPage)}, 1002
}
, {ENTRY(252, endPage){return r.endPage(r.object);
}
, 3, {}, 1003
}
, {ENTRY(256, beginLayer){return r.beginLayer(r.object, &kLayer);
}
, 4, {W(&kLayer)}, 1004
}
, {ENTRY(260, endLayer){return r.endLayer(r.object);
}
, 5, {}, 1005
}
, {ENTRY(264, reserved6){return r.reserved6(r.object, 11);
}
, 6, {11}, 1006
}
, {ENTRY(268, reserved7){return r.reserved7(r.object, 11);
}
, 7, {11}, 1007
}
, {ENTRY(272, reserved8){return r.reserved8(r.object, 11);
}
, 8, {11}, 1008
}
, {ENTRY(276, reserved9){return r.reserved9(r.object, 11, 12, 13);
}
, 9, {11, 12, 13}, 1009
}
, {ENTRY(280, queryObjectKind){return r.queryObjectKind(r.object, 3, &kQuery);
}
, 48, {3, W(&kQuery)}, 1048
}
,
}
;

#undef ENTRY

class CallbackRecordTest : public ::testing::Test {
  protected:
    void SetUp() override { FillCallbackRecord(record_, &spy_); }

    SpyExporter spy_;
    ExportCallbackRecord record_{};
};

TEST_F(CallbackRecordTest, EachEntryReachesItsOperationWithThePackedArguments) {
    for (const EntryCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.memberOffset, c.wordOffset / 4 * sizeof(void*));
        spy_.calls.clear();
        EXPECT_EQ(c.invoke(record_), c.answer);
        if (c.slot == kNoCall) {
            EXPECT_TRUE(spy_.calls.empty());
            continue;
        }
        ASSERT_EQ(spy_.calls.size(), 1u);
        EXPECT_EQ(spy_.calls[0].slot, c.slot);
        EXPECT_EQ(spy_.calls[0].args, c.args);
    }
}

TEST_F(CallbackRecordTest, WordsWithoutAnEntryAreZeroAndTheObjectSitsAtWord59) {
    uintptr_t words[kCallbackRecordWords];
    std::memcpy(words, &record_, sizeof words);
    const size_t empty[] = {0, 1, 14, 30, 48, 57, 58};
    for (size_t i = 0; i < kCallbackRecordWords; ++i) {
        SCOPED_TRACE(i);
        if (i == kCallbackRecordObjectWord) {
            EXPECT_EQ(words[i], W(static_cast<CAbstractPI*>(&spy_)));
        } else if (std::find(std::begin(empty), std::end(empty), i) != std::end(empty)) {
            EXPECT_EQ(words[i], 0u);
        } else {
            EXPECT_NE(words[i], 0u);
        }
    }
}

TEST_F(CallbackRecordTest, EightBitTextIsCappedAt64Characters) {
    const std::string text(70, 'x');
    record_.drawText8(record_.object, 0, 0, 0, 0, 0, 0, nullptr, text.c_str(), 70, 0);
    ASSERT_EQ(spy_.calls.size(), 1u);
    const Words& args = spy_.calls[0].args;
    // Six words, two pointed-to words (zero without a pointer), 64 characters,
    // the count and word 10.
    ASSERT_EQ(args.size(), 6u + 2 + 64 + 2);
    EXPECT_EQ(args[6], 0u);
    EXPECT_EQ(args[8], uintptr_t('x'));
    EXPECT_EQ(args[8 + 64], 64u);
}

ColorRecord Red() {
    ColorRecord c{};
    c.model = kColorModelRgb;
    c.channels[6] = 0xFF;
    return c;
}

TEST_F(CallbackRecordTest, FilledPolygonMarksFirstAndClosesLastNode) {
    const ColorRecord red = Red();
    EXPECT_EQ(record_.fillPolygon(record_.object, kPoints, 3, &red), 1026);
    ASSERT_EQ(spy_.calls.size(), 1u);
    const SpyCall& call = spy_.calls[0];
    EXPECT_EQ(call.args[1], 3u);
    EXPECT_EQ(call.args[2], W(kPoints));
    EXPECT_EQ(call.args[4], 0u);
    EXPECT_EQ(call.nodeTypes, (std::vector<uint8_t>{0x04, 0x44, 0x4C}));
    ASSERT_TRUE(call.hasStyle);
    EXPECT_EQ(call.fill.kind, kFillUniform);
    EXPECT_EQ(std::memcmp(call.fill.body, &red, sizeof red), 0);
    EXPECT_EQ(call.outline.kind, kOutlineNone);
}

TEST_F(CallbackRecordTest, FilledPolygonEdgeCases) {
    const ColorRecord red = Red();
    // One point is both first and last.
    record_.fillPolygon(record_.object, kPoints, 1, &red);
    ASSERT_EQ(spy_.calls.size(), 1u);
    EXPECT_EQ(spy_.calls[0].nodeTypes, (std::vector<uint8_t>{0x0C}));
    // Nothing to draw, and nothing to read the colour from.
    spy_.calls.clear();
    EXPECT_EQ(record_.fillPolygon(record_.object, kPoints, 0, &red), 0);
    EXPECT_EQ(record_.fillPolygon(record_.object, kPoints, 3, nullptr), 100);
    EXPECT_TRUE(spy_.calls.empty());
}

TEST_F(CallbackRecordTest, BuiltPathsLongerThanThePathRecordCountsAreRefused) {
    // Cut to the record's 16 bits, 65537 points would draw one.
    const ColorRecord red = Red();
    std::vector<HostPoint> points(65537);
    std::vector<uint8_t> types(65537, 0x44);
    EXPECT_EQ(record_.fillPolygon(record_.object, points.data(), 65537, &red), 100);
    EXPECT_EQ(record_.fillPath(record_.object, points.data(), types.data(), 65537, &red), 100);
    EXPECT_EQ(record_.outlinePath(record_.object, points.data(), types.data(), -1, &red), 100);
    EXPECT_TRUE(spy_.calls.empty());
    EXPECT_EQ(record_.fillPolygon(record_.object, points.data(), 65535, &red), 1026);
    ASSERT_EQ(spy_.calls.size(), 1u);
    EXPECT_EQ(spy_.calls[0].args[1], 65535u);
}

TEST_F(CallbackRecordTest, FilledPathKeepsTheHostsNodeTypes) {
    const ColorRecord red = Red();
    EXPECT_EQ(record_.fillPath(record_.object, kPoints, kTypes, 3, &red), 1026);
    ASSERT_EQ(spy_.calls.size(), 1u);
    const SpyCall& call = spy_.calls[0];
    EXPECT_EQ(call.args[3], W(kTypes));
    EXPECT_EQ(call.fill.kind, kFillUniform);
    EXPECT_EQ(call.outline.kind, kOutlineNone);
}

TEST_F(CallbackRecordTest, OutlinedPathHasASolidHairlineAndNoFill) {
    const ColorRecord red = Red();
    EXPECT_EQ(record_.outlinePath(record_.object, kPoints, kTypes, 3, &red), 1026);
    ASSERT_EQ(spy_.calls.size(), 1u);
    const SpyCall& call = spy_.calls[0];
    EXPECT_EQ(call.args[3], W(kTypes));
    EXPECT_EQ(call.fill.kind, kFillNone);
    const HostOutlineRecord& o = call.outline;
    EXPECT_EQ(o.kind, kOutlineSolid);
    EXPECT_EQ(o.cap, 0);
    EXPECT_EQ(o.join, 0);
    EXPECT_EQ(o.width, 762);
    EXPECT_EQ(o.value12, 100);
    EXPECT_EQ(o.word16, 0u);
    EXPECT_EQ(std::memcmp(&o.colour, &red, sizeof red), 0);
    EXPECT_EQ(o.value84, 0);
    EXPECT_EQ(o.dashCount, 0);
    EXPECT_EQ(o.word124, 0u);
    EXPECT_EQ(o.word128, 0u);
}

// An exception from an operation must not unwind into the host.
class ThrowingExporter final : public CAbstractPI {
  public:
    int32_t BeginGroup() override { throw std::runtime_error("no"); }
};

TEST(CallbackRecord, AnExceptionBecomesAFailedAnswer) {
    ThrowingExporter exporter;
    ExportCallbackRecord record{};
    FillCallbackRecord(record, &exporter);
    EXPECT_EQ(record.beginGroup(record.object), 100);
}

// The interface's own defaults, seen through the finer operations they call.
class DefaultsSpy final : public CAbstractPI {
  public:
    struct Seen {
        int slot;
        Words words;
    };
    std::vector<Seen> seen;

    int32_t BeginDocument(const DocumentRecord* d) override {
        seen.push_back({0, Words(d->word, d->word + 8)});
        return 70;
    }
    int32_t EndDocument() override {
        seen.push_back({1, {}});
        return 71;
    }
    int32_t BeginPage(const PageRecord* p) override {
        seen.push_back({2, Words(p->word, p->word + 17)});
        return 72;
    }
    int32_t EndPage() override {
        seen.push_back({3, {}});
        return 73;
    }
    int32_t BeginLayer(const LayerRecord* l) override {
        Words w{l->kind, l->word1, W(l->name)};
        w.insert(w.end(), l->word, l->word + 7);
        seen.push_back({4, w});
        return 74;
    }
    int32_t EndLayer() override {
        seen.push_back({5, {}});
        return 75;
    }
    int32_t QueryObjectKind(uint32_t mode, const ObjectKindQuery* q) override {
        seen.push_back({48, {mode, q->kind, W(q->data)}});
        return 78;
    }
};

TEST(AbstractPIDefaults, StructuralOperationsMapOntoDocumentPageAndLayer) {
    DefaultsSpy spy;
    CAbstractPI& pi = spy;
    const Words zeros7(7, 0);
    Words layerWords{1, 0, W(kLayerName)};
    layerWords.insert(layerWords.end(), zeros7.begin(), zeros7.end());
    Words groupWords{1, 0, 0};
    groupWords.insert(groupWords.end(), zeros7.begin(), zeros7.end());
    Words pageWords(17, 0);
    pageWords[0] = pageWords[10] = 1;

    EXPECT_EQ(pi.BeginDrawing(), 72);
    EXPECT_EQ(pi.EndDrawing(), 71);
    EXPECT_EQ(pi.BeginNamedLayer(kLayerName), 74);
    EXPECT_EQ(pi.EndNamedLayer(), 75);
    EXPECT_EQ(pi.BeginGroup(), 74);
    EXPECT_EQ(pi.BeginObjectGroup(&kBoxA), 74);
    EXPECT_EQ(pi.EndGroup(), 75);
    EXPECT_EQ(pi.QueryObjectKindByType(26, &kBoxA), 78);

    const std::vector<std::pair<int, Words>> expected = {
        {0, {601, 0, 1, 1, 1, 0, 0, 0}},
        {2, pageWords},
        {3, {}},
        {1, {}},
        {4, layerWords},
        {5, {}},
        {4, groupWords},
        {4, groupWords},
        {5, {}},
        {48, {0, 26, W(&kBoxA)}},
    };
    ASSERT_EQ(spy.seen.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(spy.seen[i].slot, expected[i].first);
        EXPECT_EQ(spy.seen[i].words, expected[i].second);
    }
}

TEST(AbstractPIDefaults, ConstantAnswers) {
    DefaultsSpy spy;
    CAbstractPI& pi = spy;
    EXPECT_EQ(pi.DrawRectangle(nullptr), 202);
    EXPECT_EQ(pi.DrawEllipse(nullptr), 202);
    EXPECT_EQ(pi.DrawPath(nullptr), 0);
    EXPECT_EQ(pi.QueryInformation(9, nullptr, nullptr), 0);
    EXPECT_EQ(pi.CallHostCallback1(0, 5), 0);
    EXPECT_EQ(pi.BeginLink(nullptr), 0);
    EXPECT_EQ(pi.EndLink(), 0);
    EXPECT_EQ(pi.Reserved61(12345), 12345u);
    EXPECT_TRUE(spy.seen.empty());
}

TEST(AbstractPIDefaults, SetCallbackSetSwapsTheObjectsOwnSet) {
    DefaultsSpy spy;
    CAbstractPI& pi = spy;
    const HostCallbackSet first{0, nullptr, nullptr, 0, 7};
    const HostCallbackSet second{0, nullptr, nullptr, 0, 8};
    EXPECT_EQ(pi.SetCallbackSet(&first, nullptr), 1);
    HostCallbackSet previous{};
    EXPECT_EQ(pi.SetCallbackSet(&second, &previous), 1);
    EXPECT_EQ(previous.userValue, 7u);
    EXPECT_EQ(pi.SetCallbackSet(&first, &previous), 1);
    EXPECT_EQ(previous.userValue, 8u);
}

}  // namespace
}  // namespace svgf
