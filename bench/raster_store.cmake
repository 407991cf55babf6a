# The tile store: fill, copy and stretch of a 4096 × 4096 RGB image with a
# tile manager whose memory is 1/8 of the image against no tile manager, and
# the bit-length coder beside zlib level 1 on 64 KB tile blocks.
find_package(ZLIB REQUIRED)
add_executable(raster_store_bench ${CMAKE_CURRENT_LIST_DIR}/raster_store_bench.cpp)
target_link_libraries(raster_store_bench PRIVATE raster_store raster_blit raster benchmark::benchmark ZLIB::ZLIB)
