// The bitmap services of the stand-in host. Each entry first makes the
// process's image store the one the image entries serve: a test may have
// served an image store of its own in between.
#include "host/media/stand_in_images.h"

namespace host {
namespace {

namespace entries = media::image_entries;

void Serve() {
    media::ServeImages(StandInImages());
}

int32_t SVGF_CALL RunSubFilter(svgf::FilterContext* sub) {
    Serve();
    return entries::RunSubFilter(sub);
}

int32_t SVGF_CALL EndSubContext(svgf::FilterContext* sub) {
    Serve();
    return entries::EndSubContext(sub);
}

svgf::HostHandle SVGF_CALL BitmapInfo(svgf::HostHandle bitmap) {
    Serve();
    return entries::BitmapInfo(bitmap);
}

const void* SVGF_CALL DescribeBitmap(svgf::HostHandle info) {
    Serve();
    return entries::DescribeBitmap(info);
}

}  // namespace

media::ImageHost& StandInImages() {
    // Never destroyed: service entries may still be called while statics go.
    static media::ImageHost* images = new media::ImageHost();
    return *images;
}

void RegisterBitmapServices(ServiceRegistry& registry) {
    namespace svc = svgf::svc;
    registry.Add<svc::kRunSubFilter, &RunSubFilter>("RunSubFilter");
    registry.Add<svc::kEndSubContext, &EndSubContext>("EndSubContext");
    registry.Add<svc::kBitmapInfo, &BitmapInfo>("BitmapInfo");
    registry.Add<svc::kBitmapDescription, &DescribeBitmap>("BitmapDescription");
}

}  // namespace host
