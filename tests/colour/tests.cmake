svgfilter_test(test_colour colour colour platform)
# The colour-management tests make their ICC profiles with LittleCMS where
# the build has it.
if(TARGET test_colour)
  if(SVGFILTER_HAVE_LCMS2)
    target_sources(test_colour PRIVATE ${CMAKE_CURRENT_LIST_DIR}/icc/icc_fixtures_lcms.cpp)
    target_link_libraries(test_colour PRIVATE svgfilter_lcms2)
  else()
    target_sources(test_colour PRIVATE ${CMAKE_CURRENT_LIST_DIR}/icc/icc_fixtures_none.cpp)
  endif()
  target_include_directories(test_colour PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
