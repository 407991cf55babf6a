# The canvas tests draw on the stand-in host's import side.
svgfilter_test(test_svgimport svgimport svgimport svghost)
