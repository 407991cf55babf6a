// FilterEntry: the module's one entry point. It sends each command code to
// its handler and keeps every exception inside the module.
#include <new>

#include "command_handlers.h"
#include "markup/faults.h"
#include "svgfilter/filter_abi.h"

namespace svgf::detail {
namespace {

int32_t Dispatch(uint32_t code, FilterContext* context) {
    switch (code) {
        case kCmdNop2:
        case kCmdNop10:
            return 1;
        case kCmdImport:
        case kCmdImportSetup:
        case kCmdBeginExport:
        case kCmdEndImport:
        case kCmdEndExport:
        case kCmdOptions:
            break;
        default:
            return 0;
    }
    if (context == nullptr) return 0;
    switch (code) {
        case kCmdImport:
            return HandleImport(*context);
        case kCmdImportSetup:
            return HandleImportSetup(*context);
        case kCmdBeginExport:
            return HandleBeginExport(*context);
        case kCmdEndImport:
            return HandleEndImport(*context);
        case kCmdEndExport:
            return HandleEndExport(*context);
        default:
            return HandleExportOptions(*context);
    }
}

}  // namespace
}  // namespace svgf::detail

SVGF_EXPORT int32_t SVGF_CALL FilterEntry(uint32_t code, svgf::FilterContext* context) {
    try {
        return svgf::detail::Dispatch(code, context);
    } catch (const std::bad_alloc&) {
        if (context != nullptr) context->errorCode = svgf::kErrNoMemory;
        return 0;
    } catch (const markup::MemoryAllocationFault&) {
        // The markup engine's exhausted memory is the host's too.
        if (context != nullptr) context->errorCode = svgf::kErrNoMemory;
        return 0;
    } catch (...) {
        return 0;
    }
}
