# The whole `svgfilter parse` as users run it, beside xmllint on the same
# file: parse_tool_bench runs them as processes (see bench/parse_tool_bench.cpp).
add_executable(parse_tool_bench parse_tool_bench.cpp large_svg.cpp process_runs.cpp)
target_compile_definitions(parse_tool_bench PRIVATE SVGFILTER_TOOL="$<TARGET_FILE:svgfilter_tool>")
add_dependencies(parse_tool_bench svgfilter_tool dictionaries)
