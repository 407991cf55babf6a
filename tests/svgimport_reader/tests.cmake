# The SVG reader over documents read from SVG text into the DOM, with a
# recording canvas and on the stand-in host's import side.
if(TARGET svgimport)
  svgfilter_test(test_svgimport_reader svgimport_reader svgimport svghost markup_style markup_parser markup_base
                 platform)
  if(TARGET test_svgimport_reader)
    target_include_directories(test_svgimport_reader PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../markup/base
      ${CMAKE_CURRENT_LIST_DIR}/../markup/style)
    # The styled documents read the dictionaries the build generates.
    target_compile_definitions(test_svgimport_reader PRIVATE
      SVGFILTER_DICTIONARY_DIR="${SVGFILTER_DICTIONARY_DIR}/")
    add_dependencies(test_svgimport_reader dictionaries)
  endif()
endif()
if(TARGET test_svgimport_reader)
  target_sources(test_svgimport_reader PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../svgimport/canvas_fixtures.cpp)
  target_include_directories(test_svgimport_reader PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../svgimport)
endif()
