// How libpng and libjpeg report errors to us, shared by the readers here and
// the stand-in host's writers. Both libraries leave a failing call by a long
// jump; the message is kept for the caller's status.
#pragma once

#include <csetjmp>
#include <cstdio>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>
#include <png.h>

namespace imagecodecs {

// The error pointer handed to png_create_*_struct.
struct PngErrors {
    char message[200] = "";
};
// Keeps the message in the PngErrors and jumps back to the png_jmpbuf.
void PngOnError(png_structp png, png_const_charp message);
// Warnings are dropped.
void PngOnWarning(png_structp png, png_const_charp message);

struct JpegErrors {
    jpeg_error_mgr base;  // first, so that the library's pointer is ours too
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};
// Sets the library's defaults with JpegOnError as the exit.
void InitJpegErrors(JpegErrors& errors);
// Keeps the message and jumps back to errors.jump.
[[noreturn]] void JpegOnError(j_common_ptr info);

}  // namespace imagecodecs
