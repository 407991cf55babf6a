# The RGB kernels' hot rows beside pixman's nearest operations on r8g8b8
# images (pixman is a benchmark-only dependency, found by kernels.cmake).
add_executable(kernels24_bench ${CMAKE_CURRENT_LIST_DIR}/kernels24_bench.cpp)
target_link_libraries(kernels24_bench PRIVATE raster_kernels benchmark::benchmark PkgConfig::PIXMAN)
