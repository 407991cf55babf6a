# The canvas's scenes exported back to SVG and rendered, and the canvas's
# texts and images on the stand-in host's fonts and image files.
if(SVGFILTER_MEDIA)
  svgfilter_test(test_svgimport_media svgimport_media svgimport svghost)
  if(TARGET test_svgimport_media)
    target_sources(test_svgimport_media PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../svgimport/canvas_fixtures.cpp)
    target_include_directories(test_svgimport_media PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../svgimport
                               ${CMAKE_CURRENT_LIST_DIR}/../host_media)
    add_dependencies(test_svgimport_media svgfilter)
  endif()
endif()
