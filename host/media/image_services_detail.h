// Link between ImageHost and the service-table entries that serve it.
#ifndef HOST_MEDIA_IMAGE_SERVICES_DETAIL_H
#define HOST_MEDIA_IMAGE_SERVICES_DETAIL_H

namespace host::media {
class ImageHost;
namespace detail {
// Stops the entries from reaching an image host that is going away.
void ForgetImageHost(const ImageHost* images);
}  // namespace detail
}  // namespace host::media

#endif  // HOST_MEDIA_IMAGE_SERVICES_DETAIL_H
