# The import at scale on hostile and large documents: scale_bench runs the
# tool as a process on generated inputs (see bench/scale_bench.cpp).
add_executable(scale_bench scale_bench.cpp scale_inputs.cpp process_runs.cpp)
target_compile_definitions(scale_bench PRIVATE SVGFILTER_TOOL="$<TARGET_FILE:svgfilter_tool>")
add_dependencies(scale_bench svgfilter_tool svgfilter dictionaries)
