# The ink (four-channel) and 16-bit-sample kernels' hot rows beside pixman on
# x8r8g8b8 images and memset/memcpy (pixman is found by kernels.cmake).
add_executable(kernels_ink16_bench ${CMAKE_CURRENT_LIST_DIR}/kernels_ink16_bench.cpp)
target_link_libraries(kernels_ink16_bench PRIVATE raster_kernels benchmark::benchmark PkgConfig::PIXMAN)
