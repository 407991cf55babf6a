// The libraries' error exits.
#include "imagecodecs/codec_errors.h"

namespace imagecodecs {

void PngOnError(png_structp png, png_const_charp message) {
    auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
    std::snprintf(errors->message, sizeof errors->message, "%s", message ? message : "unknown error");
    png_longjmp(png, 1);
}

void PngOnWarning(png_structp, png_const_charp) {}

void InitJpegErrors(JpegErrors& errors) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = JpegOnError;
    errors.message[0] = '\0';
}

void JpegOnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

}  // namespace imagecodecs
