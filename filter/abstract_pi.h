// CAbstractPI: the abstract exporter interface that the callback record's
// entries forward to. Its virtual operations are reached by position, so
// their order and argument counts are fixed; reserved slots keep their place
// even though nothing here gives them a meaning. Every operation has a
// default, so an exporter overrides only what it turns into output.
#ifndef SVGFILTER_ABSTRACT_PI_H
#define SVGFILTER_ABSTRACT_PI_H

#include <cstdint>

#include "svgfilter/filter_abi.h"

namespace svgf {

class CAbstractPI {
  public:
    /* 0 */ virtual int32_t BeginDocument(const DocumentRecord* document);
    /* 1 */ virtual int32_t EndDocument();
    /* 2 */ virtual int32_t BeginPage(const PageRecord* page);
    /* 3 */ virtual int32_t EndPage();
    /* 4 */ virtual int32_t BeginLayer(const LayerRecord* layer);
    /* 5 */ virtual int32_t EndLayer();
    /* 6 */ virtual int32_t Reserved6(HostWord a1);
    /* 7 */ virtual int32_t Reserved7(HostWord a1);
    /* 8 */ virtual int32_t Reserved8(HostWord a1);
    /* 9 */ virtual int32_t Reserved9(HostWord a1, HostWord a2, HostWord a3);
    /* 10 */ virtual int32_t Reserved10(HostWord a1);
    /* 11 */ virtual int32_t Reserved11();
    /* 12 */ virtual int32_t BeginClipGroup(HostWord a1, HostWord a2);
    /* 13 */ virtual int32_t EndClipGroup();
    /* 14 */ virtual int32_t Reserved14();
    /* 15 */ virtual int32_t Reserved15(HostWord a1, HostWord a2);
    /* 16 */ virtual int32_t Reserved16();
    /* 17 */ virtual void Reserved17(HostWord a1, HostWord a2, HostWord a3);
    /* 18 */ virtual void Reserved18(HostWord a1, HostWord a2, HostWord a3);
    /* 19 */ virtual int32_t Reserved19(HostWord a1, HostWord a2);
    /* 20 */ virtual int32_t Reserved20(HostWord a1);
    /* 21 */ virtual int32_t Reserved21(HostWord a1);
    /* 22 */ virtual int32_t Reserved22();
    /* 23 */ virtual int32_t Reserved23(const Reserved23Record* record);
    /* 24 */ virtual int32_t DrawRectangle(const RectangleRecord* rectangle);
    /* 25 */ virtual int32_t DrawEllipse(const EllipseRecord* ellipse);
    /* 26 */ virtual int32_t DrawPath(const PathRecord* path);
    /* 27 */ virtual int32_t Reserved27(const TextRecord* text);
    /* 28 */ virtual int32_t DrawBitmap(HostWord a1, HostHandle bitmap, HostWord a3,
                                        const HostRect* destination, const HostMatrix* matrix,
                                        const HostRect* visible, HostWord a7, HostWord a8);
    /* 29 */ virtual int32_t CallHostCallback1(HostWord ignored, HostWord argument);
    /* 30 */ virtual int32_t CallHostCallback2(HostWord ignored, HostWord argument);
    /* 31 */ virtual int32_t ResetFlag();
    /* 32 */ virtual int32_t Reserved32();
    /* 33 */ virtual int32_t BeginTransform(const TransformRecord* transform);
    /* 34 */ virtual int32_t EndTransform();
    /* 35 */ virtual int32_t DefineFont(const FontRecord* font);
    /* 36 */ virtual int32_t DrawTextRun(const TextRunRecord* run);
    /* 37 */ virtual int32_t Reserved37(HostWord a1);
    /* 38 */ virtual int32_t Reserved38();
    /* 39 */ virtual int32_t Reserved39(const Reserved39Record* record);
    /* 40 */ virtual int32_t Reserved40(HostWord a1);
    /* 41 */ virtual int32_t Reserved41();
    /* 42 */ virtual int32_t Reserved42(HostWord a1);
    /* 43 */ virtual int32_t Reserved43(HostWord a1, HostWord a2, HostWord a3);
    /* 44 */ virtual int32_t Reserved44(HostWord a1, HostWord a2, HostWord a3, HostWord a4);
    /* 45 */ virtual int32_t Reserved45(HostWord a1, HostWord a2, HostWord a3, HostWord a4, HostWord a5,
                                        HostWord a6);
    /* 46 */ virtual int32_t Reserved46(HostWord a1, HostWord a2, HostWord a3, HostWord a4, HostWord a5,
                                        HostWord a6, HostWord a7);
    /* 47 */ virtual int32_t Reserved47(HostWord a1, HostWord a2);
    /* 48 */ virtual int32_t QueryObjectKind(uint32_t mode, const ObjectKindQuery* query);
    /* 49 */ virtual int32_t QueryObjectKindByType(uint32_t kind, const void* data);
    /* 50 */ virtual int32_t QueryInformation(int32_t code, void* out, const void* in);
    /* 51 */ virtual int32_t SetCallbackSet(const HostCallbackSet* newSet, HostCallbackSet* previous);
    /* 52 */ virtual int32_t BeginDrawing();
    /* 53 */ virtual int32_t EndDrawing();
    /* 54 */ virtual int32_t BeginNamedLayer(const char* name);
    /* 55 */ virtual int32_t EndNamedLayer();
    /* 56 */ virtual int32_t BeginGroup();
    /* 57 */ virtual int32_t BeginObjectGroup(const void* link);
    /* 58 */ virtual int32_t EndGroup();
    /* 59 */ virtual int32_t BeginLink(const void* link);
    /* 60 */ virtual int32_t EndLink();
    /* 61 */ virtual HostWord Reserved61(HostWord a1);

    // The number of virtual operations; the callback record reaches no more.
    static constexpr int kSlotCount = 62;

    // Answers of the operations.
    static constexpr int32_t kDone = svgf::kDone;
    static constexpr int32_t kFailed = svgf::kFailed;
    static constexpr int32_t kNotHandled = svgf::kNotHandled;

  protected:
    CAbstractPI() = default;
    // Exporters are destroyed through their own class, never through this
    // interface, so the destructor stays out of the slot order.
    ~CAbstractPI() = default;
    CAbstractPI(const CAbstractPI&) = default;
    CAbstractPI& operator=(const CAbstractPI&) = default;

    // The set the default SetCallbackSet works on; an exporter that talks to
    // the host's own set ignores it.
    HostCallbackSet ownCallbackSet_{};
};

}  // namespace svgf

#endif  // SVGFILTER_ABSTRACT_PI_H
