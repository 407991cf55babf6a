// A module that dies during the import as a sanitizer's report or the
// runtime does: a line on standard error, then the end named by
// $FATAL_MODULE_END (abort, or a fault).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "svgfilter/filter_abi.h"

extern "C" __attribute__((visibility("default"))) int32_t SVGF_CALL FilterEntry(uint32_t code,
                                                                              svgf::FilterContext*) {
    if (code != svgf::kCmdImport) return 1;
    std::fprintf(stderr, "error: a message box before the end\n");
    std::fprintf(stderr, "==1==FATAL: the report that must be seen\n");
    const char* end = std::getenv("FATAL_MODULE_END");
    if (end != nullptr && std::strcmp(end, "fault") == 0) {
        volatile int* nowhere = nullptr;
        return *nowhere;
    }
    std::abort();
}
