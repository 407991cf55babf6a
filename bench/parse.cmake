# The whole parse of a large generated SVG beside libxml2 building its tree
# of the same file (libxml2 is a benchmark-only dependency).
pkg_check_modules(LIBXML2 REQUIRED IMPORTED_TARGET libxml-2.0)
add_executable(parse_bench ${CMAKE_CURRENT_LIST_DIR}/parse_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/large_svg.cpp)
target_link_libraries(parse_bench PRIVATE markup_dtd markup_parser markup_base platform benchmark::benchmark
  PkgConfig::LIBXML2)
