# The compositing kernels, checked against a plain model of the merge modes
# (the paletted model maps colours back through the raster palette services).
svgfilter_test(test_raster_kernels raster/kernels raster_kernels raster)
