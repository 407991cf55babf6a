# Image loading through the decoder modules, over pictures written with the
# image libraries' encoders; built where the modules are (not in the 32-bit
# build, which has no image libraries).
if(TARGET imagecodecs)
  svgfilter_test(test_raster_imageload_media raster/imageload/media imageload)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(GIF REQUIRED)
  target_link_libraries(test_raster_imageload_media PRIVATE PNG::PNG JPEG::JPEG GIF::GIF)
  add_dependencies(test_raster_imageload_media filter_modules)
endif()
