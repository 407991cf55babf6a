# The canvas tests draw on the stand-in host's import side.
svgfilter_test(test_svgimport svgimport svgimport svghost)
# The font request cache is private to the import.
target_include_directories(test_svgimport PRIVATE ${PROJECT_SOURCE_DIR}/svgimport)
