# Style records over real pictures: a PNG written beside the document is
# loaded through the decoder modules, so this is built where the modules
# are (not in the 32-bit build, which has no image libraries).
if(TARGET imagecodecs AND TARGET markup_style)
  svgfilter_test(test_markup_style_images markup/style/images markup_style markup_parser markup_base platform
    imageload)
  set(_media_tests ${CMAKE_CURRENT_LIST_DIR}/../../../raster/imageload/media)
  target_sources(test_markup_style_images PRIVATE ${_media_tests}/picture_files.cpp)
  target_include_directories(test_markup_style_images PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..
    ${CMAKE_CURRENT_LIST_DIR}/../../base ${CMAKE_CURRENT_LIST_DIR}/../../parser ${_media_tests})
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  find_package(GIF REQUIRED)
  target_link_libraries(test_markup_style_images PRIVATE PNG::PNG JPEG::JPEG GIF::GIF)
  target_compile_definitions(test_markup_style_images PRIVATE SVGFILTER_DICTIONARY_DIR="${SVGFILTER_DICTIONARY_DIR}/")
  add_dependencies(test_markup_style_images dictionaries filter_modules)
endif()
