// Finds the font file for a family, weight and slant through fontconfig.
#ifndef HOST_MEDIA_FONT_RESOLVER_H
#define HOST_MEDIA_FONT_RESOLVER_H

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "host/media/font_library.h"

struct _FcConfig;

namespace host::media::detail {

class FontResolver {
  public:
    // Throws std::runtime_error when fontconfig has no configuration.
    FontResolver();
    ~FontResolver();
    FontResolver(const FontResolver&) = delete;
    FontResolver& operator=(const FontResolver&) = delete;

    // The installed font that stands for the family: the family itself when
    // installed, otherwise the DejaVu face of the same kind, otherwise
    // whatever fontconfig offers. Answers are cached.
    std::optional<ResolvedFont> Resolve(const std::string& family, FontStyle style);

    // The DejaVu family that replaces a family that is not installed.
    static std::string FallbackFamily(const std::string& family);

    static constexpr std::size_t kMaxCachedAnswers = 4096;

  private:
    std::optional<ResolvedFont> Match(const std::string& family, FontStyle style, bool* familyFound);

    _FcConfig* config_ = nullptr;
    std::map<std::tuple<std::string, int, bool>, std::optional<ResolvedFont>> cache_;
};

}  // namespace host::media::detail

#endif  // HOST_MEDIA_FONT_RESOLVER_H
