# The DOM's tests: facades over trees built in code.
if(TARGET markup_parser)
  svgfilter_test(test_markup_dom markup/parser/dom markup_parser markup_base platform)
  target_include_directories(test_markup_dom PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../../base)
endif()
