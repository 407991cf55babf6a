# The raster library's services: palettes, the nearest-colour cache, bit rows,
# colour to pixel and the kernel table selectors.
svgfilter_test(test_raster raster raster raster_store)
# The same tests again with every image tiled by the tile manager, at a few
# memory blocks so that tiles are evicted and swapped: the pixels must come
# out as in the contiguous run. Two blocks are the fewest a blit needs (a
# source tile and a destination tile locked together).
gtest_discover_tests(test_raster DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX tiled.
  PROPERTIES ENVIRONMENT SVGFILTER_TILED_STORE=2 LABELS tiled)
