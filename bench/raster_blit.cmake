# The blit pipeline on a 4096 × 4096 RGB image (fill, copy, nearest and
# smooth stretch, the smooth stretch gated by an alpha plane) beside pixman's
# fill, copy and transformed composites (pixman is found by kernels.cmake).
add_executable(raster_blit_bench ${CMAKE_CURRENT_LIST_DIR}/raster_blit_bench.cpp)
target_link_libraries(raster_blit_bench PRIVATE raster_blit raster benchmark::benchmark PkgConfig::PIXMAN)
