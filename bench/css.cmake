# The style engine's matching: a sheet of 10^4 rules against a tree of 10^5
# elements, mixed selectors beside class selectors only; the scanner on
# comments of NUL bytes beside comments of other bytes.
add_executable(css_bench ${CMAKE_CURRENT_LIST_DIR}/css_bench.cpp)
target_link_libraries(css_bench PRIVATE markup_style markup_parser markup_base platform benchmark::benchmark)
target_compile_definitions(css_bench PRIVATE SVGFILTER_DICTIONARY_DIR="${SVGFILTER_DICTIONARY_DIR}/")
add_dependencies(css_bench dictionaries)
