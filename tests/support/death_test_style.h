// The death-test style a test program can rely on. The "threadsafe" style
// re-executes the test program to run the dying statement; under user-mode
// emulation (the 32-bit build) the program is not something the kernel can
// execute by itself, so there the child is forked instead, which the
// emulator carries out.
#ifndef SVGFILTER_TESTS_DEATH_TEST_STYLE_H
#define SVGFILTER_TESTS_DEATH_TEST_STYLE_H

#include <gtest/gtest.h>

inline void UseRunnableDeathTestStyle() {
#ifdef SVGFILTER_EMULATED_TESTS
    GTEST_FLAG_SET(death_test_style, "fast");
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
#endif
}

#endif  // SVGFILTER_TESTS_DEATH_TEST_STYLE_H
