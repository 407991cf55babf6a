# The DTD compiler's tests; one of them runs dicgen as a user does (under the
# emulator in the 32-bit build).
if(TARGET markup_dtd)
  svgfilter_test(test_markup_dtd markup/parser/dtd markup_dtd markup_parser markup_base platform)
  target_include_directories(test_markup_dtd PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../../base)
  # _launcher: the emulator command tests/CMakeLists.txt makes for the tool tests.
  target_compile_definitions(test_markup_dtd PRIVATE SVGFILTER_DICGEN="$<TARGET_FILE:dicgen>"
    SVGFILTER_DICGEN_LAUNCHER="${_launcher}")
  add_dependencies(test_markup_dtd dicgen)
endif()
