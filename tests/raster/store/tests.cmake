# The tiled store: tile codecs, the block memory manager and the tile manager.
svgfilter_test(test_raster_store raster/store raster_store raster_blit raster)
