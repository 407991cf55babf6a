# The whole import as users run it, beside rsvg-convert on the same file:
# import_bench runs both as processes (see bench/import_bench.cpp).
add_executable(import_bench import_bench.cpp large_svg.cpp process_runs.cpp)
target_compile_definitions(import_bench PRIVATE SVGFILTER_TOOL="$<TARGET_FILE:svgfilter_tool>")
add_dependencies(import_bench svgfilter_tool svgfilter dictionaries)
