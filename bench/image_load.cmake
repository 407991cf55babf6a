# Loading a 4096 × 4096 PNG and JPEG through the image cache (reader, decoder
# module, row sink, raster storage) beside decoding them directly with libpng
# and libjpeg-turbo. Needs the decoder modules, so not in the 32-bit build.
if(TARGET imagecodecs)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  add_executable(image_load_bench ${CMAKE_CURRENT_LIST_DIR}/image_load_bench.cpp)
  target_link_libraries(image_load_bench PRIVATE imageload PNG::PNG JPEG::JPEG benchmark::benchmark)
  add_dependencies(image_load_bench filter_modules)
endif()
