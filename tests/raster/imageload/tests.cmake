# Image loading without decoder modules: the context and callback block
# layouts, format detection, the callback set, and the cache's placeholders
# and failures. Fake callback-set libraries stand in for the real one.
svgfilter_test(test_raster_imageload raster/imageload imageload raster_blit)
# Again with every image tiled.
svgfilter_tiled_rerun(test_raster_imageload)
foreach(kind whole lacking failing)
  add_library(fake_cbs_${kind} SHARED ${CMAKE_CURRENT_LIST_DIR}/callback_set/fake_callback_set.cpp)
  set_target_properties(fake_cbs_${kind} PROPERTIES PREFIX "" OUTPUT_NAME zkfilt SUFFIX ".cbs"
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/cbs_${kind})
  add_dependencies(test_raster_imageload fake_cbs_${kind})
endforeach()
target_compile_definitions(fake_cbs_whole PRIVATE FAKE_INITIALISE_RESULT=1)
target_compile_definitions(fake_cbs_lacking PRIVATE FAKE_INITIALISE_RESULT=1 FAKE_LEAVE_OUT_DECOMPRESS)
target_compile_definitions(fake_cbs_failing PRIVATE FAKE_INITIALISE_RESULT=0)
target_compile_definitions(test_raster_imageload PRIVATE
  SVGFILTER_FAKE_CBS_WHOLE="${CMAKE_CURRENT_BINARY_DIR}/cbs_whole"
  SVGFILTER_FAKE_CBS_LACKING="${CMAKE_CURRENT_BINARY_DIR}/cbs_lacking"
  SVGFILTER_FAKE_CBS_FAILING="${CMAKE_CURRENT_BINARY_DIR}/cbs_failing")
# Fake decoder modules: one that delivers rows with a negative width, one
# without its entry point.
set(_fake_modules ${CMAKE_CURRENT_BINARY_DIR}/fake_modules)
foreach(pair "ZKPNG;rows" "ZKJPG;no_entry")
  list(GET pair 0 name)
  list(GET pair 1 kind)
  add_library(fake_module_${kind} SHARED ${CMAKE_CURRENT_LIST_DIR}/fake_module/fake_module.cpp)
  target_link_libraries(fake_module_${kind} PRIVATE imageload_abi)
  set_target_properties(fake_module_${kind} PROPERTIES PREFIX "" OUTPUT_NAME ${name} SUFFIX ".flt"
    LIBRARY_OUTPUT_DIRECTORY ${_fake_modules})
  add_dependencies(test_raster_imageload fake_module_${kind})
endforeach()
target_compile_definitions(fake_module_no_entry PRIVATE FAKE_NO_ENTRY)
target_compile_definitions(test_raster_imageload PRIVATE SVGFILTER_FAKE_MODULES="${_fake_modules}")
