# Warnings for our own code; third-party code added later keeps its own flags.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)
# GCC 12 at -O3 (the Release build the benchmarks use) reports impossible
# overlaps, bounds and uninitialised members inside libstdc++'s own string
# and vector code once it is inlined (`"x" + std::string`, vector inserts,
# a test name generator's copies); the normal and sanitizer builds keep these
# warnings for our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options($<$<CONFIG:Release>:-Wno-restrict> $<$<CONFIG:Release>:-Wno-array-bounds>
                      $<$<CONFIG:Release>:-Wno-maybe-uninitialized>)
endif()
