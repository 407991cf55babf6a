// The stand-in host's own bitmaps: one image store for the process, which
// the bitmap services of every stand-in host serve. Bitmaps the drawing
// names are opened here before they are reported.
#ifndef HOST_MEDIA_STAND_IN_IMAGES_H
#define HOST_MEDIA_STAND_IN_IMAGES_H

#include "host/media/image_host.h"
#include "host/service_registry.h"

namespace host {

media::ImageHost& StandInImages();

// Registers the bitmap services (0x4, 0x10, 0x48, 0x12c) with recording
// entries over StandInImages(). The optional render steps (0x84, 0x90, 0x94)
// stay unset: the render run draws the bitmap the exchange block names.
void RegisterBitmapServices(ServiceRegistry& registry);

}  // namespace host

#endif  // HOST_MEDIA_STAND_IN_IMAGES_H
