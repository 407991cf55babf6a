# The CSS engine's tests; they read the CSS.dic the build generates. The
# style round trip runs the tool to export a drawing it then reads back.
if(TARGET markup_style)
  svgfilter_test(test_markup_style markup/style markup_style markup_parser markup_base platform imageload)
  target_include_directories(test_markup_style PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../base ${CMAKE_CURRENT_LIST_DIR}/../parser)
  string(REPLACE ";" " " _style_launcher "${CMAKE_CROSSCOMPILING_EMULATOR}")
  if(_style_launcher)
    string(APPEND _style_launcher " ")
  endif()
  target_compile_definitions(test_markup_style PRIVATE
    SVGFILTER_DICTIONARY_DIR="${SVGFILTER_DICTIONARY_DIR}/"
    SVGFILTER_TOOL="$<TARGET_FILE:svgfilter_tool>" SVGFILTER_TOOL_LAUNCHER="${_style_launcher}")
  add_dependencies(test_markup_style dictionaries svgfilter_tool svgfilter)
endif()
