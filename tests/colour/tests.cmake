svgfilter_test(test_colour colour colour platform)
