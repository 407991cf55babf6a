# Each folder is one library whose sources are the folder's .cpp files, so
# adding a file needs no edit here.
function(svgfilter_glob_sources out dir)
  file(GLOB _srcs CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.c")
  set(${out} ${_srcs} PARENT_SCOPE)
endfunction()
