# The markup parser's tests; they read the CSS.dic the build generates.
if(TARGET markup_parser)
  svgfilter_test(test_markup_parser markup/parser markup_parser markup_base platform)
  target_include_directories(test_markup_parser PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../base)
  target_compile_definitions(test_markup_parser PRIVATE
    SVGFILTER_DICTIONARY_DIR="${SVGFILTER_DICTIONARY_DIR}/")
  # The parse tool's tests run it as a user does (under the emulator in the
  # 32-bit build); _launcher comes from tests/CMakeLists.txt.
  target_compile_definitions(test_markup_parser PRIVATE SVGFILTER_TOOL="$<TARGET_FILE:svgfilter_tool>"
    SVGFILTER_TOOL_LAUNCHER="${_launcher}")
  add_dependencies(test_markup_parser dictionaries svgfilter_tool)
endif()
