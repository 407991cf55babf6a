// A callback-set library for tests: every raster entry answers the sum of
// its arguments plus a number of its own, so that a test sees which entry a
// forwarding entry reached and that the arguments came through unchanged.
// Built whole, without "CB_RIPDecompress", and with an initialisation that
// fails.
#include <cstdint>

#define ENTRY extern "C" __attribute__((visibility("default"))) std::intptr_t
using W = std::intptr_t;

ENTRY CB_RIPCreateImageEx(W a, W b, W c, W d, W e, W f, W g, W h) { return 1000 + a + b + c + d + e + f + g + h; }
ENTRY CB_RIPCreateImagePtrToDIB(W a) { return 2000 + a; }
ENTRY CB_RIPCreatePalette(W a, W b) { return 3000 + a + b; }
ENTRY CB_RIPCreatePalettedImageEx(W a, W b, W c, W d, W e, W f, W g, W h, W i, W j) {
    return 4000 + a + b + c + d + e + f + g + h + i + j;
}
ENTRY CB_RIPCreateRS() { return 5000; }
ENTRY CB_RIPConvertImageToImage(W a, W b, W c, W d, W e, W f, W g, W h, W i) {
    return 6000 + a + b + c + d + e + f + g + h + i;
}
ENTRY CB_RIPDestroyImage(W a) { return 7000 + a; }
ENTRY CB_RIPDestroyPalette(W a) { return 8000 + a; }
ENTRY CB_RIPDestroyRS(W a) { return 9000 + a; }
ENTRY CB_RIPDisplayImageRect(W a, W b, W c, W d, W e) { return 10000 + a + b + c + d + e; }
ENTRY CB_RIPDuplicatePalette(W a) { return 11000 + a; }
ENTRY CB_RIPGetImageData(W a, W b, W c, W d, W e, W f) { return 12000 + a + b + c + d + e + f; }
ENTRY CB_RIPGetNearestPalIndex(W a, W b, W c, W d) { return 13000 + a + b + c + d; }
ENTRY CB_RIPGetOptPaletteRImage(W a, W b, W c) { return 14000 + a + b + c; }
ENTRY CB_RIPInitializeDisplay() { return 15000; }
ENTRY CB_RIPSetDevRectFromImage(W a, W b) { return 16000 + a + b; }
ENTRY CB_RIPSetImageData(W a, W b, W c, W d, W e, W f, W g, W h) { return 17000 + a + b + c + d + e + f + g + h; }
ENTRY CB_RIPSetDevOriginPoint(W a, W b, W c) { return 18000 + a + b + c; }
ENTRY CB_RIPSetLogOriginPoint(W a, W b, W c) { return 19000 + a + b + c; }
ENTRY CB_RIPSetLogRect(W a, W b, W c, W d, W e) { return 20000 + a + b + c + d + e; }
ENTRY CB_RIPSetMapMode(W a, W b, W c, W d, W e) { return 21000 + a + b + c + d + e; }
ENTRY CB_RIPSetPaletteEntry(W a, W b, W c, W d, W e) { return 22000 + a + b + c + d + e; }
ENTRY CB_RIPSolidRectangle(W a, W b, W c, W d, W e, W f, W g) { return 23000 + a + b + c + d + e + f + g; }
ENTRY CB_RIPStretchBlitInContext(W a, W b, W c, W d, W e, W f, W g, W h, W i, W j, W k, W l, W m, W n) {
    return 24000 + a + b + c + d + e + f + g + h + i + j + k + l + m + n;
}
ENTRY CB_RIPInitialize() { return FAKE_INITIALISE_RESULT; }
ENTRY CB_RIPShutdown() { return 1; }
ENTRY CB_RIPCompressionInit() { return 25000; }
ENTRY CB_RIPCompressionTerm(W a) { return 26000 + a; }
ENTRY CB_RIPCompress(W a, W b, W c, W d, W e, W f, W g, W h) { return 27000 + a + b + c + d + e + f + g + h; }
#ifndef FAKE_LEAVE_OUT_DECOMPRESS
ENTRY CB_RIPDecompress(W a, W b, W c, W d, W e, W f, W g, W h, W i) {
    return 28000 + a + b + c + d + e + f + g + h + i;
}
#endif
