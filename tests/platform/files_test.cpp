// The system file service: temporary parts in $TMPDIR that never outlive
// their objects, named files, borrowed descriptors, and failing writes.

// Large-file offsets and directory entries on 32-bit builds too.
#define _FILE_OFFSET_BITS 64
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/scripted_files.h"

namespace {

// A fresh temporary folder set as $TMPDIR for the test's duration.
class TempFolder {
  public:
    TempFolder() {
        char pattern[] = "/tmp/svgfilter-filesXXXXXX";
        path_ = ::mkdtemp(pattern);
        const char* old = std::getenv("TMPDIR");
        if (old != nullptr) old_ = old;
        hadOld_ = old != nullptr;
        ::setenv("TMPDIR", path_.c_str(), 1);
    }
    ~TempFolder() {
        for (const auto& name : Entries()) ::unlink((path_ + "/" + name).c_str());
        ::rmdir(path_.c_str());
        if (hadOld_) {
            ::setenv("TMPDIR", old_.c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(path_.c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                std::string name = entry->d_name;
                if (name != "." && name != "..") names.push_back(name);
            }
            ::closedir(dir);
        }
        return names;
    }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::string old_;
    bool hadOld_ = false;
};

std::string ReadAll(platform::File& file) {
    std::string text;
    EXPECT_TRUE(file.Rewind());
    char buffer[7];
    for (std::ptrdiff_t got; (got = file.Read(buffer, sizeof buffer)) > 0;) text.append(buffer, got);
    return text;
}

TEST(SystemFiles, TemporaryPartLivesInTmpdirUntilDestroyed) {
    TempFolder folder;
    EXPECT_EQ(platform::TemporaryFolder(), folder.Path());
    {
        auto part = platform::SystemFiles().CreateTemporary("svg");
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->Path().rfind(folder.Path() + "/svg", 0), 0u) << part->Path();
        ASSERT_EQ(folder.Entries().size(), 1u);
        EXPECT_TRUE(part->Write("hello "));
        EXPECT_TRUE(part->Write(std::string(100000, 'x')));
        uint64_t length = 0;
        ASSERT_TRUE(part->Length(length));
        EXPECT_EQ(length, 100006u);
        std::string back = ReadAll(*part);
        EXPECT_EQ(back.substr(0, 6), "hello ");
        EXPECT_EQ(back.size(), 100006u);
    }
    EXPECT_TRUE(folder.Entries().empty());
}

TEST(SystemFiles, TemporaryPartInMissingFolderIsRefused) {
    TempFolder folder;
    ::setenv("TMPDIR", (folder.Path() + "/missing").c_str(), 1);
    EXPECT_EQ(platform::SystemFiles().CreateTemporary("svg"), nullptr);
}

TEST(SystemFiles, NamedFileIsEmptiedAndStays) {
    TempFolder folder;
    std::string path = folder.Path() + "/sheet.css";
    for (const char* text : {"a long first text", "short"}) {
        auto file = platform::SystemFiles().CreateNamed(path);
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->Write(text));
    }
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 5);
    EXPECT_TRUE(platform::SystemFiles().Remove(path));
    EXPECT_FALSE(platform::SystemFiles().Remove(path));
    EXPECT_EQ(platform::SystemFiles().CreateNamed(folder.Path() + "/no/such/dir.css"), nullptr);
}

// An output made beside its final name takes that name only over a regular
// file; a pipe or a folder there stays.
TEST(SystemFiles, BesideFilesReplaceOnlyRegularFiles) {
    TempFolder folder;
    platform::FileService& files = platform::SystemFiles();
    const std::string sheet = folder.Path() + "/sheet.css";
    const std::string pipe = folder.Path() + "/pipe.css";
    std::ofstream(sheet) << "earlier";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(files.KindOf(sheet), platform::PathKind::kRegular);
    EXPECT_EQ(files.KindOf(pipe), platform::PathKind::kOther);
    EXPECT_EQ(files.KindOf(folder.Path()), platform::PathKind::kFolder);
    EXPECT_EQ(files.KindOf(folder.Path() + "/none"), platform::PathKind::kNone);

    std::string made;
    {
        auto file = files.CreateBeside(sheet);
        ASSERT_NE(file, nullptr);
        made = file->Path();
        EXPECT_EQ(made.rfind(sheet + ".part", 0), 0u) << made;
        EXPECT_TRUE(file->Write("new"));
    }
    EXPECT_FALSE(files.Rename(made, pipe));
    EXPECT_EQ(files.LastFailure(), platform::FileCause::accessDenied);
    EXPECT_FALSE(files.Rename(made, folder.Path()));
    ASSERT_TRUE(files.Rename(made, sheet));
    std::ifstream in(sheet);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "new");
    EXPECT_EQ(files.CreateBeside(folder.Path() + "/no/such/x.css"), nullptr);
    EXPECT_EQ(files.LastFailure(), platform::FileCause::fileNotFound);

    const std::string sub = folder.Path() + "/sub";
    EXPECT_EQ(files.CreateFolder(sub), platform::FolderResult::kCreated);
    std::ofstream(sub + "/f") << "x";
    EXPECT_FALSE(files.RemoveFolder(sub)) << "a folder that holds a file stays";
    EXPECT_TRUE(files.Remove(sub + "/f"));
    EXPECT_TRUE(files.RemoveFolder(sub));
}

TEST(SystemFiles, BorrowedDescriptorIsNeverClosed) {
    TempFolder folder;
    std::string path = folder.Path() + "/doc.svg";
    int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(descriptor, 0);
    {
        auto file = platform::SystemFiles().AttachDescriptor(descriptor);
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->Write("<svg/>"));
    }
    EXPECT_EQ(::write(descriptor, "\n", 1), 1) << "the descriptor must stay open";
    ::close(descriptor);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 7);
    EXPECT_EQ(platform::SystemFiles().AttachDescriptor(-1), nullptr);
}

TEST(SystemFiles, WriteToFullDeviceFailsAndStaysFailed) {
    int descriptor = ::open("/dev/full", O_WRONLY);
    if (descriptor < 0) GTEST_SKIP() << "no /dev/full";
    auto file = platform::SystemFiles().AttachDescriptor(descriptor);
    EXPECT_EQ(file->FailureCause(), platform::FileCause::none);
    file->Write(std::string(70000, 'x'));  // larger than the buffer: reaches the device
    EXPECT_TRUE(file->Failed());
    EXPECT_EQ(file->FailureCause(), platform::FileCause::diskFull);
    EXPECT_FALSE(file->Write("x"));
    EXPECT_FALSE(file->Flush());
    file.reset();
    ::close(descriptor);
}

TEST(ScriptedFiles, FailsOnDemandAndCountsLiveParts) {
    platform::ScriptedFiles files;
    files.FailTemporary(2);
    auto first = files.CreateTemporary("svg");
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(files.CreateTemporary("svg"), nullptr);
    EXPECT_EQ(files.LiveTemporaries(), 1);
    files.FailWrite(2);
    EXPECT_TRUE(first->Write("ab"));
    EXPECT_FALSE(first->Write("cd"));
    EXPECT_FALSE(first->Write("ef"));
    EXPECT_TRUE(first->Failed());
    first.reset();
    EXPECT_EQ(files.LiveTemporaries(), 0);

    auto named = files.CreateNamed("/x.css");
    named->Write("rule");
    named.reset();
    EXPECT_EQ(files.NamedContent("/x.css"), "rule");
    EXPECT_TRUE(files.Remove("/x.css"));
    EXPECT_FALSE(files.NamedExists("/x.css"));
}

}  // namespace
