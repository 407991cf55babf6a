// Lets a font library detach itself from the service entries when it goes.
#ifndef HOST_MEDIA_FONT_SERVICES_DETAIL_H
#define HOST_MEDIA_FONT_SERVICES_DETAIL_H

namespace host::media {
class FontLibrary;
namespace detail {
void ForgetFontLibrary(const FontLibrary* library);
}  // namespace detail
}  // namespace host::media

#endif  // HOST_MEDIA_FONT_SERVICES_DETAIL_H
