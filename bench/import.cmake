# The whole import of a large generated SVG through `svgfilter import` (the
# module's FilterEntry into the stand-in host), beside rsvg-convert loading
# and rendering the same file at a tiny size, both run as whole processes.
add_executable(import_bench ${CMAKE_CURRENT_LIST_DIR}/import_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/large_svg.cpp)
target_link_libraries(import_bench PRIVATE benchmark::benchmark)
target_compile_definitions(import_bench PRIVATE SVGFILTER_TOOL="$<TARGET_FILE:svgfilter_tool>")
add_dependencies(import_bench svgfilter_tool svgfilter dictionaries)
