# Image loading through the decoder modules, over pictures written with the
# image libraries' encoders; built where the modules are (not in the 32-bit
# build, which has no image libraries).
if(TARGET imagecodecs)
  svgfilter_test(test_raster_imageload_media raster/imageload/media imageload)
  svgfilter_tiled_rerun(test_raster_imageload_media)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(GIF REQUIRED)
  target_link_libraries(test_raster_imageload_media PRIVATE PNG::PNG JPEG::JPEG GIF::GIF)
  add_dependencies(test_raster_imageload_media filter_modules fake_cbs_whole)
  # The fake callback set of the tests beside, for the animated-GIF entry.
  target_compile_definitions(test_raster_imageload_media PRIVATE
    SVGFILTER_FAKE_CBS_WHOLE="${CMAKE_CURRENT_BINARY_DIR}/cbs_whole")
endif()
