# The compositing kernels' hot rows beside pixman's nearest operations on a8
# images (pixman is a benchmark-only dependency).
pkg_check_modules(PIXMAN REQUIRED IMPORTED_TARGET pixman-1)
add_executable(kernels_bench ${CMAKE_CURRENT_LIST_DIR}/kernels_bench.cpp)
target_link_libraries(kernels_bench PRIVATE raster_kernels benchmark::benchmark PkgConfig::PIXMAN)
