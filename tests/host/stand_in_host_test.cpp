// The stand-in host: its context, its recorded services and callbacks, and
// the module driven through the loaded shared library.
#include "host/stand_in_host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "host/module_loader.h"
#include "platform/dialog.h"
#include "platform/scripted_dialog_driver.h"

namespace {

using host::StandInHost;

std::unique_ptr<host::ModuleLibrary> LoadModule() {
    std::string error;
    auto module = host::ModuleLibrary::Open(host::ResolveModulePath(), &error);
    EXPECT_NE(module, nullptr) << error;
    return module;
}

TEST(ModuleLoader, EnvironmentNamesTheModuleFirst) {
    const char* set = std::getenv(host::kModulePathVariable);
    const std::string saved = set ? set : "";
    ASSERT_EQ(setenv(host::kModulePathVariable, "/somewhere/else.so", 1), 0);
    EXPECT_EQ(host::ResolveModulePath(), "/somewhere/else.so");
    ASSERT_EQ(unsetenv(host::kModulePathVariable), 0);
    EXPECT_EQ(host::ResolveModulePath(), host::DefaultModulePath()) << "nothing beside the test program";
    if (set) setenv(host::kModulePathVariable, saved.c_str(), 1);
}

TEST(ModuleLoader, MissingLibraryIsReported) {
    std::string error;
    EXPECT_EQ(host::ModuleLibrary::Open("/nonexistent/libsvgfilter.so", &error), nullptr);
    EXPECT_NE(error.find("/nonexistent/libsvgfilter.so"), std::string::npos) << error;
}

// Stands in for the module: calls back into the host as the module would.
int32_t SVGF_CALL ProbeEntry(uint32_t code, svgf::FilterContext* context) {
    if (host::CurrentHost() == nullptr) return -1;
    auto release = svgf::service<svgf::svc::ReleaseHandleFn>(context->services, svgf::svc::kReleaseHandle);
    release(static_cast<svgf::HostHandle>(code));
    using ProbeFn = int32_t(SVGF_CALL*)(int32_t, double, const void*);
    if (auto probe = svgf::service<ProbeFn>(context->services, svgf::svc::kInformation)) {
        probe(-5, 0.5, context);
    }
    return context->callbackSet->first(context->hostHandle, 7, context->callbackSet->userValue) +
           context->callbackSet->second(context->hostHandle, 8, context->callbackSet->userValue);
}

int32_t SVGF_CALL ProbeService(int32_t, double, const void*) {
    return 3;
}

TEST(StandInHost, ContextIsZeroFilledAndWired) {
    StandInHost host(&ProbeEntry);
    const svgf::FilterContext& context = host.Context();
    EXPECT_EQ(context.size, svgf::kContextSize);
    EXPECT_EQ(context.flags, 0u);
    EXPECT_EQ(context.errorCode, 0u);
    EXPECT_EQ(context.filterObject, nullptr);
    EXPECT_EQ(context.exportOptions, nullptr);
    EXPECT_EQ(context.hostHandle, host::kDrawingHandle);
    EXPECT_NE(context.services, nullptr);
    EXPECT_NE(context.callbackSet, nullptr);
    EXPECT_NE(context.exchangeBlock, nullptr);
    EXPECT_EQ(context.callbackSet->userValue, reinterpret_cast<uintptr_t>(&host));
}

TEST(StandInHost, RecordsEveryServiceAndCallbackCall) {
    StandInHost host(&ProbeEntry);
    host.Services().Add<svgf::svc::kInformation, &ProbeService>("Probe");
    host.SetCallbackAnswers(10, 20);
    EXPECT_EQ(host.Call(42), 30);
    EXPECT_EQ(host::CurrentHost(), nullptr);

    const auto& log = host.Log();
    ASSERT_EQ(log.Names(), (std::vector<std::string>{"ReleaseHandle", "Probe", "Callback1", "Callback2"}));
    EXPECT_EQ(log.Calls()[0].Int(0), 42);
    EXPECT_EQ(log.Calls()[1].Int(0), -5);
    EXPECT_EQ(log.Calls()[1].Real(1), 0.5);
    EXPECT_EQ(log.Calls()[1].Pointer(2), &host.Context());
    EXPECT_EQ(log.Calls()[2].Int(1), 7);
    EXPECT_EQ(log.Calls()[3].Int(1), 8);

    // An emptied slot reads as 0 in the table.
    host.Log().Clear();
    host.Services().Remove(svgf::svc::kInformation);
    host.Call(1);
    EXPECT_EQ(host.Log().Count("Probe"), 0u);
    EXPECT_EQ(host.Context().services->slot[svgf::svc::kInformation], nullptr);
}

TEST(StandInHost, OutputFileIsOpenedAndNamed) {
    const std::string path = testing::TempDir() + "stand_in_host_output.svg";
    StandInHost host(&ProbeEntry);
    ASSERT_TRUE(host.OpenOutput(path));
    EXPECT_STREQ(host.Context().fileName, path.c_str());
    EXPECT_GT(host.Context().fileHandle, 2);
    host.CloseOutput();
    EXPECT_EQ(host.Context().fileName, nullptr);
    EXPECT_EQ(host.Context().fileHandle, 0);
    EXPECT_FALSE(host.OpenOutput("/nonexistent/dir/out.svg"));
}

class LoadedModule : public testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadModule();
        ASSERT_NE(module_, nullptr);
        host_ = std::make_unique<StandInHost>(module_->Entry());
    }
    void TearDown() override { host_.reset(); }

    std::unique_ptr<host::ModuleLibrary> module_;
    std::unique_ptr<StandInHost> host_;
};

TEST_F(LoadedModule, AnswersTheCommandCodes) {
    const std::pair<uint32_t, int32_t> codes[] = {{2, 1}, {4, 0}, {6, 0}, {7, 0}, {8, 0}, {10, 1}, {11, 0}};
    for (auto [code, answer] : codes) EXPECT_EQ(host_->Call(code), answer) << code;
    EXPECT_EQ(host_->Context().errorCode, 0u);

    EXPECT_EQ(host_->Call(svgf::kCmdImportSetup), 1);
    EXPECT_NE(host_->Context().filterObject, nullptr);
    EXPECT_EQ(host_->Call(svgf::kCmdBeginExport), 0) << "an import object is there";
    EXPECT_EQ(host_->Call(svgf::kCmdEndImport), 1);
    EXPECT_EQ(host_->Context().filterObject, nullptr);
}

TEST_F(LoadedModule, OptionsWithoutUserInterface) {
    host_->SetNoUserInterface(true);
    ASSERT_EQ(host_->Call(svgf::kCmdOptions), 1);
    const svgf::SVGExportOptions& options = *host_->Context().exportOptions;
    EXPECT_EQ(options.textAsText, 1u);
    EXPECT_EQ(options.precision, 1000u);
    EXPECT_EQ(options.context, &host_->Context());
}

TEST_F(LoadedModule, OptionsDialogPlaysOnTheParentWindowsDriver) {
    platform::ScriptedDialogDriver driver;
    driver.Choose(1028, 2).Choose(1030, 3).Click(1034).Click(platform::kIdOk);
    platform::Window window;
    window.driver = &driver;
    host_->SetParentWindow(&window);
    ASSERT_EQ(host_->Call(svgf::kCmdOptions), 1);
    const svgf::SVGExportOptions& options = *host_->Context().exportOptions;
    EXPECT_EQ(options.bitmapType, 2u);
    EXPECT_EQ(options.precision, 25400u);
    EXPECT_EQ(options.cssPlacement, 2u);

    window.driver = nullptr;
    EXPECT_EQ(host_->Call(svgf::kCmdOptions), 0);
    EXPECT_EQ(host_->Context().errorCode, svgf::kErrDialogFailed);
}

}  // namespace
