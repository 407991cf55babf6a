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

// The table stores untyped entries; each is read back through its own type.
template <typename Fn>
svgf::HostServiceFn Entry(Fn fn) {
    return reinterpret_cast<svgf::HostServiceFn>(fn);
}

// Checked at compile time against the interface's declared types.
constexpr svgf::svc::RunSubFilterFn kRunSubFilter = image_entries::RunSubFilter;
constexpr svgf::svc::EndSubContextFn kEndSubContext = image_entries::EndSubContext;
constexpr svgf::svc::BitmapInfoFn kBitmapInfo = image_entries::BitmapInfo;
constexpr svgf::svc::BitmapDescriptionFn kBitmapDescription = image_entries::DescribeBitmap;
constexpr svgf::svc::RenderStep90Fn kBeginRender = image_entries::BeginRender;
constexpr svgf::svc::RenderStep84Fn kDrawBitmap = image_entries::DrawBitmap;
constexpr svgf::svc::RenderStep94Fn kEndRender = image_entries::EndRender;

}  // namespace

namespace image_entries {

int32_t SVGF_CALL RunSubFilter(svgf::FilterContext* sub) {
    return Guarded([&] { return active->RunSubFilter(sub); }, 0);
}

int32_t SVGF_CALL EndSubContext(svgf::FilterContext* sub) {
    return Guarded([&] { return active->EndSubContext(sub); }, 0);
}

svgf::HostHandle SVGF_CALL BitmapInfo(svgf::HostHandle bitmap) {
    return Guarded([&] { return active->BitmapInfo(bitmap); }, svgf::HostHandle{0});
}

const void* SVGF_CALL DescribeBitmap(svgf::HostHandle info) {
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

}  // namespace image_entries

namespace detail {
void ForgetImageHost(const ImageHost* images) {
    if (active == images) active = nullptr;
}
}  // namespace detail

void ServeImages(ImageHost& images) {
    active = &images;
}

void RegisterImageServices(ImageHost& images, const ServiceSetter& set) {
    ServeImages(images);
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
