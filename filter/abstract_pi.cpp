// Default answers of the exporter interface. The structural defaults map the
// coarse drawing events (drawing, named layer, group) onto the finer ones
// (document, page, layer) so that an exporter that only knows the latter
// still sees the whole structure.
#include "abstract_pi.h"

#include <cstring>

namespace svgf {

int32_t CAbstractPI::BeginDocument(const DocumentRecord*) {
    return 0;
}
int32_t CAbstractPI::EndDocument() {
    return 0;
}
int32_t CAbstractPI::BeginPage(const PageRecord*) {
    return 0;
}
int32_t CAbstractPI::EndPage() {
    return 0;
}
int32_t CAbstractPI::BeginLayer(const LayerRecord*) {
    return 0;
}
int32_t CAbstractPI::EndLayer() {
    return 0;
}
int32_t CAbstractPI::Reserved6(HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved7(HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved8(HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved9(HostWord, HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved10(HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved11() {
    return 0;
}
int32_t CAbstractPI::BeginClipGroup(HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::EndClipGroup() {
    return 0;
}
int32_t CAbstractPI::Reserved14() {
    return 0;
}
int32_t CAbstractPI::Reserved15(HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved16() {
    return 0;
}
void CAbstractPI::Reserved17(HostWord, HostWord, HostWord) {}
void CAbstractPI::Reserved18(HostWord, HostWord, HostWord) {}
int32_t CAbstractPI::Reserved19(HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved20(HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved21(HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved22() {
    return 0;
}
int32_t CAbstractPI::Reserved23(const Reserved23Record*) {
    return 0;
}
int32_t CAbstractPI::DrawRectangle(const RectangleRecord*) {
    return kNotHandled;
}
int32_t CAbstractPI::DrawEllipse(const EllipseRecord*) {
    return kNotHandled;
}
int32_t CAbstractPI::DrawPath(const PathRecord*) {
    return 0;
}
int32_t CAbstractPI::Reserved27(const TextRecord*) {
    return 0;
}
int32_t CAbstractPI::DrawBitmap(HostWord, HostHandle, HostWord, const HostRect*, const HostMatrix*,
                                const HostRect*, HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::CallHostCallback1(HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::CallHostCallback2(HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::ResetFlag() {
    return 0;
}
int32_t CAbstractPI::Reserved32() {
    return 0;
}
int32_t CAbstractPI::BeginTransform(const TransformRecord*) {
    return 0;
}
int32_t CAbstractPI::EndTransform() {
    return 0;
}
int32_t CAbstractPI::DefineFont(const FontRecord*) {
    return 0;
}
int32_t CAbstractPI::DrawTextRun(const TextRunRecord*) {
    return 0;
}
int32_t CAbstractPI::Reserved37(HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved38() {
    return 0;
}
int32_t CAbstractPI::Reserved39(const Reserved39Record*) {
    return 0;
}
int32_t CAbstractPI::Reserved40(HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved41() {
    return 0;
}
int32_t CAbstractPI::Reserved42(HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved43(HostWord, HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved44(HostWord, HostWord, HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved45(HostWord, HostWord, HostWord, HostWord, HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved46(HostWord, HostWord, HostWord, HostWord, HostWord, HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::Reserved47(HostWord, HostWord) {
    return 0;
}
int32_t CAbstractPI::QueryObjectKind(uint32_t, const ObjectKindQuery*) {
    return 0;
}

int32_t CAbstractPI::QueryObjectKindByType(uint32_t kind, const void* data) {
    const ObjectKindQuery query{kind, data};
    return QueryObjectKind(0, &query);
}

int32_t CAbstractPI::QueryInformation(int32_t, void*, const void*) {
    return 0;
}

int32_t CAbstractPI::SetCallbackSet(const HostCallbackSet* newSet, HostCallbackSet* previous) {
    if (previous != nullptr) std::memcpy(previous, &ownCallbackSet_, sizeof ownCallbackSet_);
    if (newSet != nullptr) std::memcpy(&ownCallbackSet_, newSet, sizeof ownCallbackSet_);
    return 1;
}

int32_t CAbstractPI::BeginDrawing() {
    const DocumentRecord document{{601, 0, 1, 1, 1, 0, 0, 0}};
    BeginDocument(&document);
    PageRecord page{};
    page.word[0] = 1;
    page.word[10] = 1;
    return BeginPage(&page);
}

int32_t CAbstractPI::EndDrawing() {
    EndPage();
    return EndDocument();
}

int32_t CAbstractPI::BeginNamedLayer(const char* name) {
    const LayerRecord layer{1, 0, name, {}};
    return BeginLayer(&layer);
}

int32_t CAbstractPI::EndNamedLayer() {
    return EndLayer();
}

int32_t CAbstractPI::BeginGroup() {
    const LayerRecord layer{1, 0, nullptr, {}};
    return BeginLayer(&layer);
}

int32_t CAbstractPI::BeginObjectGroup(const void*) {
    const LayerRecord layer{1, 0, nullptr, {}};
    return BeginLayer(&layer);
}
int32_t CAbstractPI::EndGroup() {
    return EndLayer();
}
int32_t CAbstractPI::BeginLink(const void*) {
    return 0;
}
int32_t CAbstractPI::EndLink() {
    return 0;
}
HostWord CAbstractPI::Reserved61(HostWord a1) {
    return a1;
}

}  // namespace svgf
