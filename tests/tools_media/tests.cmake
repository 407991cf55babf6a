# `svgfilter import` and `svgfilter export` run as programs: SVG fixtures of
# one feature each imported and exported again, and drawings exported,
# imported and exported again, rendered by rsvg-convert and compared.
if(SVGFILTER_MEDIA)
  svgfilter_test(test_tools_media tools_media svghost)
  if(TARGET test_tools_media)
    target_include_directories(test_tools_media PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../host_media)
    target_compile_definitions(test_tools_media PRIVATE
      SVGFILTER_TOOL="$<TARGET_FILE:svgfilter_tool>")
    add_dependencies(test_tools_media svgfilter_tool svgfilter dictionaries)
  endif()
endif()
