# The blit and stretch pipeline, over contiguous images and the test tile store.
svgfilter_test(test_raster_blit raster/blit raster_blit raster)
target_sources(test_raster_blit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../memory_tile_store.cpp)
target_include_directories(test_raster_blit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
# Again with every image tiled.
svgfilter_tiled_rerun(test_raster_blit)
