# The compositing kernels, checked against a plain model of the merge modes.
svgfilter_test(test_raster_kernels raster/kernels raster_kernels)
