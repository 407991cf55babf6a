# The raster library's services: palettes, the nearest-colour cache, bit rows,
# colour to pixel and the kernel table selectors.
svgfilter_test(test_raster raster raster raster_store)
# The same tests again with every image tiled.
svgfilter_tiled_rerun(test_raster)
