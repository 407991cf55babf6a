# The blit and stretch pipeline, over contiguous images and the test tile store.
svgfilter_test(test_raster_blit raster/blit raster_blit raster)
target_sources(test_raster_blit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../memory_tile_store.cpp)
target_include_directories(test_raster_blit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
# Again with every image tiled by the tile manager (see tests/raster/tests.cmake).
target_sources(test_raster_blit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../tiled_mode.cpp)
target_link_libraries(test_raster_blit PRIVATE raster_store)
gtest_discover_tests(test_raster_blit DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX tiled.
  PROPERTIES ENVIRONMENT SVGFILTER_TILED_STORE=2 LABELS tiled)
