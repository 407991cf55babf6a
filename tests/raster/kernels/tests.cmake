# The compositing kernels, checked against a plain model of the merge modes
# (the paletted model maps colours back through the raster palette services).
svgfilter_test(test_raster_kernels raster/kernels raster_kernels raster)
# The long sweeps run only on request: SVGFILTER_EXHAUSTIVE=1 ctest -L exhaustive
add_executable(test_raster_kernels_sweep ${CMAKE_CURRENT_LIST_DIR}/sweep/quotient_sweep_test.cpp)
target_link_libraries(test_raster_kernels_sweep PRIVATE raster_kernels GTest::gtest GTest::gtest_main)
gtest_discover_tests(test_raster_kernels_sweep DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES LABELS exhaustive)
