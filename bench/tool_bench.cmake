# The whole tool as users run it, beside the cairo peer as a program of its
# own: tool_bench runs both as processes (see bench/tool_bench.cpp).
add_executable(cairo_svg_peer cairo_svg_peer_main.cpp cairo_peer.cpp bench_drawing.cpp)
target_link_libraries(cairo_svg_peer PRIVATE svghost svgfilter_abi PkgConfig::CAIRO)

add_executable(tool_bench tool_bench.cpp drawing_description.cpp cairo_peer.cpp bench_drawing.cpp process_runs.cpp)
target_link_libraries(tool_bench PRIVATE svghost svgfilter_abi PkgConfig::CAIRO)
target_compile_definitions(tool_bench PRIVATE SVGFILTER_TOOL="$<TARGET_FILE:svgfilter_tool>"
  SVGFILTER_CAIRO_PEER="$<TARGET_FILE:cairo_svg_peer>")
add_dependencies(tool_bench svgfilter_tool cairo_svg_peer svgfilter)
