// Imports through FilterEntry in this process, on the stand-in host's import
// side, with the dictionaries the build writes and the module's messages
// recorded.
#ifndef TESTS_FILTER_IMPORT_FIXTURE_H
#define TESTS_FILTER_IMPORT_FIXTURE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/import/import_host.h"
#include "host/stand_in_host.h"
#include "platform/messages.h"
#include "svgfilter/filter_abi.h"

class ImportFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/import_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
        import_.SetDictionaryFolder(SVGFILTER_DICTIONARY_DIR);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // A file of the folder holding the text; its path.
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Import set-up, import, end import of the document; the import's answer.
    int32_t Import(const std::string& path) {
        import_.SetDocument(path);
        EXPECT_EQ(host_.Call(svgf::kCmdImportSetup), 1);
        const int32_t answer = host_.Call(svgf::kCmdImport);
        EXPECT_EQ(host_.Call(svgf::kCmdEndImport), 1);
        EXPECT_EQ(host_.Context().filterObject, nullptr);
        return answer;
    }

    std::string folder_;
    host::StandInHost host_{&FilterEntry};
    host::import::ImportHost import_{host_};
    platform::RecordingMessageSink messages_;
    platform::ScopedMessageSink sink_{&messages_};
};

#endif  // TESTS_FILTER_IMPORT_FIXTURE_H
