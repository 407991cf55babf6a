// The working object's lifecycle and the options command.
//
// The working object in filterObject is an import handle (commands 1 and 3
// to 6) or an exporter (commands 5 to 7). Its storage is an owned block whose
// kind says which, so a command for one kind refuses an object of the other
// instead of treating it as its own.
#include "command_handlers.h"

#include <new>

#include "export_options.h"
#include "exporter_hooks.h"
#include "mem_handle_unlock.h"
#include "module_resources.h"
#include "owned_blocks.h"
#include "svgimport/svg_import_handle.h"

namespace svgf::detail {
namespace {

// The import handle to work with: the one already there, or a new one. Null
// when another kind of object is there, or with errorCode 24849 when there is
// no memory for a new one.
SvgImportHandle* AcquireImportHandle(FilterContext& context) {
    if (context.filterObject != nullptr) {
        if (OwnedKind(context.filterObject) != BlockKind::kImportHandle) return nullptr;
        return static_cast<SvgImportHandle*>(context.filterObject);
    }
    void* storage = AllocateOwned(BlockKind::kImportHandle, sizeof(SvgImportHandle));
    if (storage == nullptr) {
        context.errorCode = kErrNoMemory;
        return nullptr;
    }
    auto* handle = new (storage) SvgImportHandle();
    context.filterObject = handle;
    return handle;
}

SVGExp* AcquireExporter(FilterContext& context) {
    if (context.filterObject != nullptr) {
        if (OwnedKind(context.filterObject) != BlockKind::kExporter) return nullptr;
        return static_cast<SVGExp*>(context.filterObject);
    }
    void* storage = AllocateOwned(BlockKind::kExporter, ExporterSize());
    if (storage == nullptr) {
        context.errorCode = kErrNoMemory;
        return nullptr;
    }
    SVGExp* exporter;
    try {
        exporter = CreateExporter(storage);
    } catch (const std::bad_alloc&) {
        FreeOwned(storage);
        context.errorCode = kErrNoMemory;
        return nullptr;
    }
    context.filterObject = exporter;
    return exporter;
}

// Empties filterObject and frees the object's storage, however the end work
// left the command.
class WorkingObjectRelease {
  public:
    explicit WorkingObjectRelease(FilterContext& context) : context_(context) {}
    ~WorkingObjectRelease() {
        FreeOwned(context_.filterObject);
        context_.filterObject = nullptr;
    }
    WorkingObjectRelease(const WorkingObjectRelease&) = delete;
    WorkingObjectRelease& operator=(const WorkingObjectRelease&) = delete;

  private:
    FilterContext& context_;
};

}  // namespace

int32_t HandleImport(FilterContext& context) {
    SvgImportHandle* handle = AcquireImportHandle(context);
    return handle ? handle->Run(context) : 0;
}

int32_t HandleImportSetup(FilterContext& context) {
    return AcquireImportHandle(context) ? MemHandleUnlock(&context) : 0;
}

int32_t HandleBeginExport(FilterContext& context) {
    SVGExp* exporter = AcquireExporter(context);
    return exporter ? BeginExport(*exporter, context) : 0;
}

int32_t HandleEndImport(FilterContext& context) {
    if (OwnedKind(context.filterObject) != BlockKind::kImportHandle) return 0;
    auto* handle = static_cast<SvgImportHandle*>(context.filterObject);
    WorkingObjectRelease release(context);
    const int32_t result = MemHandleUnlock(&context);
    handle->~SvgImportHandle();
    return result;
}

int32_t HandleEndExport(FilterContext& context) {
    if (OwnedKind(context.filterObject) != BlockKind::kExporter) return 0;
    auto* exporter = static_cast<SVGExp*>(context.filterObject);
    WorkingObjectRelease release(context);
    struct Destroy {
        SVGExp* exporter;
        ~Destroy() { DestroyExporter(exporter); }
    } destroy{exporter};
    return EndExport(*exporter, context);
}

int32_t HandleExportOptions(FilterContext& context) {
    // A record left by an earlier options command is the module's to free.
    ReleaseExportOptions(context);
    SVGExportOptions* record = NewExportOptions();
    if (record == nullptr) {
        context.errorCode = kErrNoMemory;
        return 0;
    }
    record->context = &context;
    context.exportOptions = record;
    return RunExportOptionsDialog(record, ModuleInstance());
}

}  // namespace svgf::detail
