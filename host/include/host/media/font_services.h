// The font services as entries of the host service table: plain functions
// with the table's calling convention that forward to one FontLibrary.
#ifndef HOST_MEDIA_FONT_SERVICES_H
#define HOST_MEDIA_FONT_SERVICES_H

#include <svgfilter/filter_abi.h>

#include <cstddef>
#include <functional>

#include "host/media/font_library.h"

namespace host::media {

// Stores one entry of a service table: (slot index, function).
using ServiceSetter = std::function<void(size_t index, svgf::HostServiceFn function)>;

// Makes `library` the one the font entries answer from and hands every font
// entry (0x2a4, 0x2a8, 0x27c, 0x2b0, 0x2d8, 0x228, 0x22c) to `set`. The
// entries carry no context of their own, so one library serves at a time;
// registering another takes over.
void RegisterFontServices(FontLibrary& library, const ServiceSetter& set);

// Detaches `library` if it is the one being served; the entries then answer
// failure. A library detaches itself when destroyed.
void UnregisterFontServices(const FontLibrary& library);

}  // namespace host::media

#endif  // HOST_MEDIA_FONT_SERVICES_H
