// The image services as service-table entries: plain functions of the
// interface's calling convention that forward to the registered ImageHost.
// Nothing thrown inside may reach the module, so each entry answers 0 then.
#include <exception>

#include "host/media/image_host.h"
#include "image_services_detail.h"

namespace host::media {
namespace {

ImageHost* active = nullptr;

template <typename Call>
auto Guarded(Call call, decltype(call()) failure) -> decltype(call()) {
    if (!active) return failure;
    try {
        return call();
    } catch (...) {
        return failure;
    }
}

int32_t SVGF_CALL RunSubFilter(svgf::FilterContext* sub) {
    return Guarded([&] { return active->RunSubFilter(sub); }, 0);
}

int32_t SVGF_CALL EndSubContext(svgf::FilterContext* sub) {
    return Guarded([&] { return active->EndSubContext(sub); }, 0);
}

svgf::HostHandle SVGF_CALL BitmapInfo(svgf::HostHandle bitmap) {
    return Guarded([&] { return active->BitmapInfo(bitmap); }, svgf::HostHandle{0});
}

const void* SVGF_CALL BitmapDescriptionOf(svgf::HostHandle info) {
    return Guarded([&]() -> const void* { return active->Description(info); }, nullptr);
}

int32_t SVGF_CALL BeginRender(svgf::HostHandle canvas, uint32_t) {
    return Guarded([&] { return active->BeginRender(canvas); }, 0);
}

int32_t SVGF_CALL DrawBitmap(svgf::HostHandle canvas, uintptr_t, svgf::HostHandle bitmap, uintptr_t,
                             const svgf::HostRect* box, const svgf::HostMatrix* matrix, const svgf::HostRect*,
                             const svgf::HostRect*, uint32_t) {
    return Guarded([&] { return active->DrawBitmap(canvas, bitmap, box, matrix); }, 0);
}

int32_t SVGF_CALL EndRender(svgf::HostHandle canvas) {
    return Guarded([&] { return active->EndRender(canvas); }, 0);
}

// The table stores untyped entries; each is read back through its own type.
template <typename Fn>
svgf::HostServiceFn Entry(Fn fn) {
    return reinterpret_cast<svgf::HostServiceFn>(fn);
}

// Checked at compile time against the interface's declared types.
constexpr svgf::svc::RunSubFilterFn kRunSubFilter = RunSubFilter;
constexpr svgf::svc::EndSubContextFn kEndSubContext = EndSubContext;
constexpr svgf::svc::BitmapInfoFn kBitmapInfo = BitmapInfo;
constexpr svgf::svc::BitmapDescriptionFn kBitmapDescription = BitmapDescriptionOf;
constexpr svgf::svc::RenderStep90Fn kBeginRender = BeginRender;
constexpr svgf::svc::RenderStep84Fn kDrawBitmap = DrawBitmap;
constexpr svgf::svc::RenderStep94Fn kEndRender = EndRender;

}  // namespace

namespace detail {
void ForgetImageHost(const ImageHost* images) {
    if (active == images) active = nullptr;
}
}  // namespace detail

void RegisterImageServices(ImageHost& images, const ServiceSetter& set) {
    active = &images;
    set(svgf::svc::kRunSubFilter, Entry(kRunSubFilter));
    set(svgf::svc::kEndSubContext, Entry(kEndSubContext));
    set(svgf::svc::kBitmapInfo, Entry(kBitmapInfo));
    set(svgf::svc::kBitmapDescription, Entry(kBitmapDescription));
    if (images.renderSteps()) {
        set(svgf::svc::kRenderStep90, Entry(kBeginRender));
        set(svgf::svc::kRenderStep84, Entry(kDrawBitmap));
        set(svgf::svc::kRenderStep94, Entry(kEndRender));
    }
}

}  // namespace host::media
