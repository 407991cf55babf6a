// FilterEntry's command table: answers, errorCode and the working object for
// every code, with no object, with an import object and with an exporter.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "owned_blocks.h"
#include "platform/dialog.h"
#include "svgfilter/filter_abi.h"

namespace {

using svgf::FilterContext;
using svgf::detail::BlockKind;
using svgf::detail::OwnedKind;

enum class Object { kNone, kImport, kExporter };

struct EntryCase {
    uint32_t code;
    Object before;
    int32_t answer;
    Object after;
    // Whether the call may change the record beyond filterObject and exportOptions.
    bool touchesNothing;
};

std::ostream& operator<<(std::ostream& out, const EntryCase& c) {
    return out << "code " << c.code << " with object " << static_cast<int>(c.before);
}

std::string CaseName(const testing::TestParamInfo<EntryCase>& info) {
    return "Code" + std::to_string(info.param.code);
}

class FilterEntryTable : public testing::TestWithParam<EntryCase> {
  protected:
    void SetUp() override {
        context_.size = svgf::kContextSize;
        // Code 9 takes the defaults without a dialog here; the dialog has tests of its own.
        context_.flags = svgf::kFlagNoUserInterface;
    }
    void TearDown() override {
        // Leave nothing behind for the next case.
        if (OwnedKind(context_.filterObject) == BlockKind::kImportHandle)
            FilterEntry(svgf::kCmdEndImport, &context_);
        if (OwnedKind(context_.filterObject) == BlockKind::kExporter)
            FilterEntry(svgf::kCmdEndExport, &context_);
        svgf::detail::FreeOwned(context_.exportOptions);
    }

    static Object KindOf(const void* object) {
        switch (OwnedKind(object)) {
            case BlockKind::kImportHandle:
                return Object::kImport;
            case BlockKind::kExporter:
                return Object::kExporter;
            default:
                return Object::kNone;
        }
    }

    FilterContext context_{};
};

TEST_P(FilterEntryTable, AnswersAndWorkingObject) {
    const EntryCase& c = GetParam();
    if (c.before == Object::kImport) {
        ASSERT_EQ(FilterEntry(svgf::kCmdImportSetup, &context_), 1);
    }
    if (c.before == Object::kExporter) FilterEntry(svgf::kCmdBeginExport, &context_);
    ASSERT_EQ(KindOf(context_.filterObject), c.before);
    void* const objectBefore = context_.filterObject;
    FilterContext snapshot = context_;

    EXPECT_EQ(FilterEntry(c.code, &context_), c.answer);

    EXPECT_EQ(KindOf(context_.filterObject), c.after);
    if (c.before != Object::kNone && c.after == c.before) {
        EXPECT_EQ(context_.filterObject, objectBefore);
    }
    if (c.after == Object::kNone) {
        EXPECT_EQ(context_.filterObject, nullptr);
    }
    EXPECT_EQ(context_.errorCode, 0u);
    if (c.touchesNothing) {
        EXPECT_EQ(std::memcmp(&snapshot, &context_, sizeof context_), 0);
    }
}

constexpr Object N = Object::kNone;
constexpr Object I = Object::kImport;
constexpr Object E = Object::kExporter;

// Import answers 0 for a context that names no document; begin and end export
// answer 0 for a context without an output file.
INSTANTIATE_TEST_SUITE_P(NoObject, FilterEntryTable,
                         testing::Values(EntryCase{1, N, 0, I, false}, EntryCase{2, N, 1, N, true},
                                         EntryCase{3, N, 1, I, false}, EntryCase{4, N, 0, N, true},
                                         EntryCase{5, N, 0, E, false}, EntryCase{6, N, 0, N, true},
                                         EntryCase{7, N, 0, N, true}, EntryCase{8, N, 0, N, true},
                                         EntryCase{9, N, 1, N, false}, EntryCase{10, N, 1, N, true},
                                         EntryCase{11, N, 0, N, true}, EntryCase{0, N, 0, N, true},
                                         EntryCase{0xffffffff, N, 0, N, true}),
                         CaseName);

// An object of the other kind is refused, never reused or ended as the wrong kind.
INSTANTIATE_TEST_SUITE_P(ImportObject, FilterEntryTable,
                         testing::Values(EntryCase{1, I, 0, I, false}, EntryCase{2, I, 1, I, true},
                                         EntryCase{3, I, 1, I, false}, EntryCase{4, I, 0, I, true},
                                         EntryCase{5, I, 0, I, true}, EntryCase{6, I, 1, N, false},
                                         EntryCase{7, I, 0, I, true}, EntryCase{8, I, 0, I, true},
                                         EntryCase{9, I, 1, I, false}, EntryCase{10, I, 1, I, true},
                                         EntryCase{11, I, 0, I, true}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(Exporter, FilterEntryTable,
                         testing::Values(EntryCase{1, E, 0, E, true}, EntryCase{2, E, 1, E, true},
                                         EntryCase{3, E, 0, E, true}, EntryCase{4, E, 0, E, true},
                                         EntryCase{5, E, 0, E, false}, EntryCase{6, E, 0, E, true},
                                         EntryCase{7, E, 0, N, false}, EntryCase{8, E, 0, E, true},
                                         EntryCase{9, E, 1, E, false}, EntryCase{10, E, 1, E, true},
                                         EntryCase{11, E, 0, E, true}),
                         CaseName);

TEST(FilterEntry, NullContextAnswersOnlyTheNoOpSuccesses) {
    for (uint32_t code = 0; code <= 11; ++code) {
        EXPECT_EQ(FilterEntry(code, nullptr), code == 2 || code == 10 ? 1 : 0) << code;
    }
}

TEST(FilterEntry, ForeignObjectIsNeitherUsedNorFreed) {
    FilterContext context{};
    int hostsOwn = 0;
    context.filterObject = &hostsOwn;
    for (uint32_t code : {1u, 3u, 5u, 6u, 7u}) {
        EXPECT_EQ(FilterEntry(code, &context), 0) << code;
        EXPECT_EQ(context.filterObject, &hostsOwn) << code;
    }
}

// A driver that fails inside the dialog: the failure must end at FilterEntry.
template <typename Failure>
class ThrowingDriver : public platform::DialogDriver {
  public:
    void Play(platform::Dialog&) override { throw Failure(); }
};

struct RuntimeFailure : std::runtime_error {
    RuntimeFailure() : std::runtime_error("driver failed") {}
};

TEST(FilterEntry, ExceptionsStopAtTheBoundary) {
    ThrowingDriver<std::bad_alloc> outOfMemory;
    ThrowingDriver<RuntimeFailure> otherFailure;
    platform::Window window;
    FilterContext context{};
    context.parentWindow = &window;

    window.driver = &outOfMemory;
    EXPECT_EQ(FilterEntry(svgf::kCmdOptions, &context), 0);
    EXPECT_EQ(context.errorCode, svgf::kErrNoMemory);

    context.errorCode = 0;
    window.driver = &otherFailure;
    EXPECT_EQ(FilterEntry(svgf::kCmdOptions, &context), 0);
    EXPECT_EQ(context.errorCode, 0u);
    svgf::detail::FreeOwned(context.exportOptions);
}

TEST(FilterEntry, EndExportReleasesTheOptionsRecordAndClearsTheField) {
    FilterContext context{};
    context.flags = svgf::kFlagNoUserInterface;
    ASSERT_EQ(FilterEntry(svgf::kCmdOptions, &context), 1);
    void* record = context.exportOptions;
    ASSERT_EQ(OwnedKind(record), BlockKind::kExportOptions);
    FilterEntry(svgf::kCmdBeginExport, &context);
    FilterEntry(svgf::kCmdEndExport, &context);
    EXPECT_EQ(context.exportOptions, nullptr);
    EXPECT_EQ(OwnedKind(record), BlockKind::kNone);
    EXPECT_EQ(context.filterObject, nullptr);
}

}  // namespace
