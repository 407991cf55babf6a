// The host's fonts over the font library: what tests of a host with real
// fonts reach through StandInHost::Fonts().
#ifndef HOST_MEDIA_MEDIA_FONTS_H
#define HOST_MEDIA_MEDIA_FONTS_H

#include <map>
#include <string>

#include "host/host_fonts.h"
#include "host/media/font_library.h"

namespace host::media {

class MediaFonts final : public HostFonts {
  public:
    // Throws std::runtime_error when FreeType or fontconfig cannot start.
    MediaFonts() = default;

    int32_t FontId(const std::string& family) override;
    std::optional<std::vector<svgf::HostPoint>> Layout(int32_t fontId, uint32_t styleFlags, int32_t size,
                                                       std::u16string_view text, svgf::HostPoint start,
                                                       int32_t angle) override;
    std::optional<std::vector<TextPath>> Curves(int32_t fontId, uint32_t styleFlags, int32_t size,
                                                std::u16string_view text,
                                                const std::vector<svgf::HostPoint>& origins,
                                                int32_t angle) override;
    void Serve() override;

    FontLibrary& Library() { return library_; }

  private:
    FontLibrary library_;
    std::map<std::string, int32_t> ids_;
};

}  // namespace host::media

#endif  // HOST_MEDIA_MEDIA_FONTS_H
