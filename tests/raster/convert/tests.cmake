# Conversion and dithering, over contiguous images, the test tile store and
# the tile manager.
svgfilter_test(test_raster_convert raster/convert raster_convert raster_blit raster raster_store)
target_sources(test_raster_convert PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../memory_tile_store.cpp)
# The tests reach the library's kernels and tables through its own headers.
target_include_directories(test_raster_convert PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..
  ${PROJECT_SOURCE_DIR}/raster/convert)
# Again with every image tiled.
svgfilter_tiled_rerun(test_raster_convert)
