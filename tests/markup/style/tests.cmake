# The CSS engine's tests; they read the CSS.dic the build generates.
if(TARGET markup_style)
  svgfilter_test(test_markup_style markup/style markup_style markup_parser markup_base platform)
  target_include_directories(test_markup_style PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../base ${CMAKE_CURRENT_LIST_DIR}/../parser)
  target_compile_definitions(test_markup_style PRIVATE
    SVGFILTER_DICTIONARY_DIR="${SVGFILTER_DICTIONARY_DIR}/")
  add_dependencies(test_markup_style dictionaries)
endif()
