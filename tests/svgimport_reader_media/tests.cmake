# The reader's scenes exported back to SVG by the module and rendered
# beside their documents (texts and pictures on the stand-in host's fonts
# and image files).
if(SVGFILTER_MEDIA AND TARGET svgimport)
  svgfilter_test(test_svgimport_reader_media svgimport_reader_media svgimport svghost markup_style markup_parser
                 markup_base platform)
  if(TARGET test_svgimport_reader_media)
    target_sources(test_svgimport_reader_media PRIVATE
      ${CMAKE_CURRENT_LIST_DIR}/../svgimport_reader/reader_scenes.cpp
      ${CMAKE_CURRENT_LIST_DIR}/../svgimport_reader/svg_dom.cpp
      ${CMAKE_CURRENT_LIST_DIR}/../svgimport_reader/attribute_styles.cpp
      ${CMAKE_CURRENT_LIST_DIR}/../svgimport/canvas_fixtures.cpp)
    target_include_directories(test_svgimport_reader_media PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../svgimport_reader
      ${CMAKE_CURRENT_LIST_DIR}/../svgimport ${CMAKE_CURRENT_LIST_DIR}/../svgimport_media
      ${CMAKE_CURRENT_LIST_DIR}/../host_media ${CMAKE_CURRENT_LIST_DIR}/../markup/base)
    target_compile_definitions(test_svgimport_reader_media PRIVATE
      SVGFILTER_DICTIONARY_DIR="${SVGFILTER_DICTIONARY_DIR}/")
    add_dependencies(test_svgimport_reader_media svgfilter dictionaries)
  endif()
endif()
