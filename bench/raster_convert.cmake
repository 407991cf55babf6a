# Conversion and dithering of a 4096 × 4096 RGB image (to 1 bit, to the
# standard 236-colour palette, to grey, to CMYK) beside ImageMagick's
# MagickCore doing the nearest equivalents.
pkg_check_modules(MAGICKCORE REQUIRED IMPORTED_TARGET MagickCore)
add_executable(raster_convert_bench ${CMAKE_CURRENT_LIST_DIR}/raster_convert_bench.cpp)
target_link_libraries(raster_convert_bench PRIVATE raster_convert raster_blit raster benchmark::benchmark
  PkgConfig::MAGICKCORE)
