// The module's start-up installs what its engines need before any entry is
// called: the image cache scales and converts pictures through the blit
// pipeline, which the raster library reaches only once it is installed.
#include <gtest/gtest.h>

#include "blit/stretch_blit.h"
#include "raster/blit_entry.h"

namespace {

TEST(ModuleAttach, TheBlitPipelineIsInstalledAtStartUp) {
    const raster::RIPStretchBlitEntry installed = raster::RIPSetStretchBlitEntry(nullptr);
    raster::RIPSetStretchBlitEntry(installed);
    EXPECT_EQ(installed, &raster::blit::RIPStretchBlit);
}

}  // namespace
