// LocalFileStream over temporary files: opening, the two positions, seeking,
// short reads, access modes and the status of every file failure.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <ostream>
#include <string>

#include "markup/local_file_stream.h"
#include "platform/file_object.h"
#include "temp_dir.h"

namespace markup {
namespace {

using markup_test::ReadAll;
using markup_test::TempDir;

class StreamTest : public testing::Test {
  protected:
    ~StreamTest() override {
        Stream* s = stream_;
        Stream::CloseAndDelete(&s);
    }
    ReturnCodeEnum Open(const std::string& file, std::int32_t mode, std::int32_t buffer = -1) {
        Stream* s = stream_;
        Stream::CloseAndDelete(&s);
        ReturnCodeEnum status = kErr_OutOfMemory;
        stream_ = LocalFileStream::Create(file.c_str(), status);
        EXPECT_EQ(status, kErr_None);
        return stream_->Open(buffer, mode);
    }
    ReturnCodeEnum ReadInto(std::string& out, std::uint32_t count) {
        out.assign(count, '\0');
        const ReturnCodeEnum status = stream_->Read(out.data(), count);
        out.resize(count);
        return status;
    }

    TempDir dir_;
    LocalFileStream* stream_ = nullptr;
};

TEST_F(StreamTest, MissingFileIsNotFoundForReadingAndCreatedForWriting) {
    const std::string file = dir_.File("absent.txt");
    EXPECT_EQ(Open(file, kStreamRead), kErr_StreamFileNotFound);
    EXPECT_FALSE(stream_->IsOpen());
    EXPECT_EQ(Open(file, kStreamWrite), kErr_None);
    EXPECT_TRUE(stream_->IsOpen());
    EXPECT_EQ(stream_->UpdateLength(), 0);
    EXPECT_EQ(ReadAll(file), "");
}

TEST_F(StreamTest, WritingKeepsExistingBytesBeyondWhatIsWritten) {
    const std::string file = dir_.Write("f.txt", "0123456789");
    ASSERT_EQ(Open(file, kStreamWrite), kErr_None);
    EXPECT_EQ(stream_->Write("ab", 2), kErr_None);
    EXPECT_EQ(stream_->Close(), kErr_None);
    EXPECT_EQ(ReadAll(file), "ab23456789");
}

TEST_F(StreamTest, ReadWriteStreamRepositionsBetweenTransfers) {
    const std::string file = dir_.File("rw.bin");
    ASSERT_EQ(Open(file, kStreamReadWrite, 4096), kErr_None);
    EXPECT_EQ(stream_->Write("0123456789", 10), kErr_None);
    EXPECT_EQ(stream_->WritePosition(), 10u);
    std::string got;
    EXPECT_EQ(ReadInto(got, 10), kErr_None);
    EXPECT_EQ(got, "0123456789");
    EXPECT_EQ(stream_->ReadPosition(), 10u);
    // The file now stands where both positions are; a write and a read in
    // turn must still each see the other.
    EXPECT_EQ(stream_->Write("ab", 2), kErr_None);
    EXPECT_EQ(ReadInto(got, 2), kErr_None);
    EXPECT_EQ(got, "ab");
    EXPECT_EQ(stream_->UpdateLength(), 12);
}

TEST_F(StreamTest, ShortReadAndReadAtTheEnd) {
    const std::string file = dir_.Write("f.txt", "abc");
    ASSERT_EQ(Open(file, kStreamRead), kErr_None);
    std::string got;
    EXPECT_EQ(ReadInto(got, 4), kErr_StreamRead);
    EXPECT_EQ(got, "abc");
    EXPECT_TRUE(stream_->AtEnd(kStreamReadPosition));
    EXPECT_EQ(ReadInto(got, 1), kErr_StreamRead);
    EXPECT_EQ(got, "");
    EXPECT_EQ(stream_->ReadPosition(), 3u);
}

TEST_F(StreamTest, CurrentPositionFollowsTheReadPosition) {
    const std::string file = dir_.Write("f.txt", "abcdefgh");
    ASSERT_EQ(Open(file, kStreamRead), kErr_None);
    std::string got;
    ReadInto(got, 3);
    EXPECT_EQ(stream_->CurrentPosition(), 3u);
    Stream& base = *stream_;
    EXPECT_EQ(base.CurrentPosition(), 3u);
}

struct SeekRow {
    std::int32_t offset;
    std::int32_t origin;
    std::int32_t which;
    ReturnCodeEnum status;
    std::uint32_t read;  // positions after the seek; both start at 4
    std::uint32_t write;
};

// On a 10-byte file with both positions at 4.
const SeekRow kSeekRows[] = {
    {0, kSeekFromEnd, kStreamReadPosition, kErr_None, 10, 4},
    {-3, kSeekFromEnd, kStreamBothPositions, kErr_None, 7, 7},
    {2, kSeekFromCurrent, kStreamWritePosition, kErr_None, 4, 6},
    {-4, kSeekFromCurrent, kStreamReadPosition, kErr_None, 0, 4},
    {-5, kSeekFromCurrent, kStreamReadPosition, kErr_StreamSeek, 4, 4},
    {10, kSeekFromStart, kStreamBothPositions, kErr_None, 10, 10},
    {11, kSeekFromStart, kStreamReadPosition, kErr_StreamSeek, 4, 4},
    {11, kSeekFromStart, kStreamBothPositions, kErr_StreamSeek, 4, 4},
    {1, kSeekFromEnd, kStreamWritePosition, kErr_StreamSeek, 4, 4},
    {3, 7, kStreamBothPositions, kErr_None, 4, 4},  // unknown origin moves nothing
    {0, kSeekFromStart, 3, kErr_StreamSeek, 4, 4},
    {0, kSeekFromStart, -1, kErr_StreamSeek, 4, 4},
};

void PrintTo(const SeekRow& row, std::ostream* os) {
    *os << row.offset << "_" << row.origin << "_" << row.which;
}

class StreamSeekTest : public StreamTest, public testing::WithParamInterface<SeekRow> {};

TEST_P(StreamSeekTest, MovesOrRestoresThePositions) {
    const SeekRow& row = GetParam();
    ASSERT_EQ(Open(dir_.Write("ten.bin", "0123456789"), kStreamReadWrite), kErr_None);
    ASSERT_EQ(stream_->Seek(4, kSeekFromStart, kStreamBothPositions), kErr_None);
    EXPECT_EQ(stream_->Seek(row.offset, row.origin, row.which), row.status);
    EXPECT_EQ(stream_->ReadPosition(), row.read);
    EXPECT_EQ(stream_->WritePosition(), row.write);
    EXPECT_EQ(stream_->Length(), 10);
}

INSTANTIATE_TEST_SUITE_P(Table, StreamSeekTest, testing::ValuesIn(kSeekRows));

TEST_F(StreamTest, SeekThenTransferUsesTheNewPositions) {
    ASSERT_EQ(Open(dir_.Write("ten.bin", "0123456789"), kStreamReadWrite), kErr_None);
    ASSERT_EQ(stream_->Seek(-2, kSeekFromEnd, kStreamReadPosition), kErr_None);
    std::string got;
    EXPECT_EQ(ReadInto(got, 2), kErr_None);
    EXPECT_EQ(got, "89");
    EXPECT_TRUE(stream_->AtEnd(kStreamReadPosition));
    EXPECT_FALSE(stream_->AtEnd(kStreamWritePosition));
    EXPECT_TRUE(stream_->AtEnd(kStreamBothPositions));
    EXPECT_FALSE(stream_->AtEnd(9));
    ASSERT_EQ(stream_->Seek(0, kSeekFromEnd, kStreamWritePosition), kErr_None);
    EXPECT_EQ(stream_->Write("AB", 2), kErr_None);
    EXPECT_EQ(stream_->SetLength(11), kErr_None);
    EXPECT_EQ(stream_->UpdateLength(), 11);
    EXPECT_EQ(stream_->Close(), kErr_None);
    EXPECT_EQ(ReadAll(dir_.File("ten.bin")), "0123456789A");
}

TEST_F(StreamTest, AccessModesRefuseTheOtherDirection) {
    const std::string file = dir_.Write("f.txt", "abc");
    ASSERT_EQ(Open(file, kStreamRead), kErr_None);
    EXPECT_EQ(stream_->Write("x", 1), kErr_StreamReadOnly);
    ASSERT_EQ(Open(file, kStreamWrite), kErr_None);
    std::string got;
    EXPECT_EQ(ReadInto(got, 2), kErr_StreamWriteOnly);
    EXPECT_EQ(got, "");
    EXPECT_EQ(ReadAll(file), "abc");
}

TEST_F(StreamTest, ClosedStreamAnswersStatusesNotCrashes) {
    ReturnCodeEnum status = kErr_OutOfMemory;
    stream_ = LocalFileStream::Create("nowhere", status);
    std::string got;
    EXPECT_EQ(stream_->Mode(), kStreamNotOpened);
    EXPECT_EQ(stream_->Length(), -1);
    EXPECT_EQ(ReadInto(got, 3), kErr_StreamRead);
    EXPECT_EQ(stream_->Write("x", 1), kErr_StreamWrite);
    EXPECT_EQ(stream_->Seek(0, kSeekFromStart, kStreamReadPosition), kErr_StreamSeek);
    EXPECT_EQ(stream_->SetLength(0), kErr_StreamWrite);
    EXPECT_EQ(std::string(stream_->NameRef().Text()), "nowhere");
}

TEST_F(StreamTest, CloseAndDeleteOfANeverOpenedStream) {
    ReturnCodeEnum status = kErr_OutOfMemory;
    Stream* s = LocalFileStream::Create(dir_.File("x").c_str(), status);
    EXPECT_EQ(Stream::CloseAndDelete(&s), kErr_None);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(Stream::CloseAndDelete(&s), kErr_None);
}

TEST_F(StreamTest, DirectoriesAndBadPathsAnswerStatuses) {
    EXPECT_EQ(Open(dir_.Path(), kStreamRead), kErr_StreamAccessDenied);
    EXPECT_FALSE(stream_->IsOpen());
    EXPECT_EQ(Open(dir_.Path(), kStreamWrite), kErr_StreamAccessDenied);
    const std::string plain = dir_.Write("plain.txt", "x");
    EXPECT_EQ(Open(plain + "/inside.txt", kStreamRead), kErr_StreamBadPath);
    EXPECT_EQ(Open(dir_.File("no/such/dir.txt"), kStreamWrite), kErr_StreamFileNotFound);
    EXPECT_EQ(Open("", kStreamRead), kErr_StreamBadPath);
}

// Runs fn where file permissions apply: in a child process without root's
// rights when the tests run as root. Answers fn's status.
ReturnCodeEnum Unprivileged(const std::function<ReturnCodeEnum()>& fn) {
    if (::geteuid() != 0) return fn();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(1);
        ::_exit(fn() - 9900);
    }
    int wstatus = 0;
    ::waitpid(child, &wstatus, 0);
    const int code = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 0;
    return code >= 30 ? static_cast<ReturnCodeEnum>(code + 9900) : kErr_None;
}

TEST_F(StreamTest, FileWithoutPermissionIsAccessDenied) {
    const std::string file = dir_.Write("secret.txt", "x");
    ::chmod(dir_.Path().c_str(), 0755);
    ::chmod(file.c_str(), 0);
    for (std::int32_t mode : {kStreamRead, kStreamWrite, kStreamReadWrite}) {
        const ReturnCodeEnum status = Unprivileged([&] {
            ReturnCodeEnum created = kErr_None;
            Stream* s = LocalFileStream::Create(file.c_str(), created);
            const ReturnCodeEnum opened = s->Open(-1, mode);
            Stream::CloseAndDelete(&s);
            return opened;
        });
        EXPECT_EQ(status, kErr_StreamAccessDenied) << "mode " << mode;
    }
}

TEST(StreamErrorTest, EveryFileCauseHasItsStatus) {
    using platform::FileCause;
    struct Row {
        FileCause cause;
        ReturnCodeEnum reading;
        ReturnCodeEnum writing;
    };
    const Row rows[] = {
        {FileCause::none, kErr_None, kErr_None},
        {FileCause::generic, kErr_StreamRead, kErr_StreamWrite},
        {FileCause::fileNotFound, kErr_StreamFileNotFound, kErr_StreamFileNotFound},
        {FileCause::badPath, kErr_StreamBadPath, kErr_StreamBadPath},
        {FileCause::tooManyOpenFiles, kErr_StreamTooManyFiles, kErr_StreamTooManyFiles},
        {FileCause::accessDenied, kErr_StreamAccessDenied, kErr_StreamAccessDenied},
        {FileCause::invalidFile, kErr_StreamInvalidFile, kErr_StreamInvalidFile},
        {FileCause::removeCurrentDir, kErr_StreamCantRemoveDir, kErr_StreamCantRemoveDir},
        {FileCause::directoryFull, kErr_StreamDirectoryFull, kErr_StreamDirectoryFull},
        {FileCause::badSeek, kErr_StreamSeek, kErr_StreamSeek},
        {FileCause::hardIO, kErr_StreamHardwareIO, kErr_StreamHardwareIO},
        {FileCause::sharingViolation, kErr_StreamAccessDenied, kErr_StreamAccessDenied},
        {FileCause::lockViolation, kErr_StreamAccessDenied, kErr_StreamAccessDenied},
        {FileCause::diskFull, kErr_StreamDiskIsFull, kErr_StreamDiskIsFull},
        {FileCause::endOfFile, kErr_StreamEOF, kErr_StreamEOF},
        {static_cast<FileCause>(77), kErr_StreamRead, kErr_StreamWrite},
    };
    LocalFileStream stream;
    for (const Row& row : rows) {
        EXPECT_EQ(stream.ErrorFromException(row.cause, true), row.reading) << static_cast<int>(row.cause);
        EXPECT_EQ(stream.ErrorFromException(row.cause, false), row.writing) << static_cast<int>(row.cause);
    }
}

TEST(StreamErrorTest, ErrnoMapsToCauses) {
    using platform::CauseFromErrno;
    using platform::FileCause;
    EXPECT_EQ(CauseFromErrno(ENOENT), FileCause::fileNotFound);
    EXPECT_EQ(CauseFromErrno(ENOTDIR), FileCause::badPath);
    EXPECT_EQ(CauseFromErrno(ENAMETOOLONG), FileCause::badPath);
    EXPECT_EQ(CauseFromErrno(EMFILE), FileCause::tooManyOpenFiles);
    EXPECT_EQ(CauseFromErrno(EACCES), FileCause::accessDenied);
    EXPECT_EQ(CauseFromErrno(EROFS), FileCause::accessDenied);
    EXPECT_EQ(CauseFromErrno(EISDIR), FileCause::accessDenied);
    EXPECT_EQ(CauseFromErrno(ENOSPC), FileCause::diskFull);
    EXPECT_EQ(CauseFromErrno(EIO), FileCause::hardIO);
    EXPECT_EQ(CauseFromErrno(EBADF), FileCause::invalidFile);
    EXPECT_EQ(CauseFromErrno(ETXTBSY), FileCause::sharingViolation);
    EXPECT_EQ(CauseFromErrno(EINTR), FileCause::generic);
}


// Buffered bytes reach the file at the close: a full disk must show there.
TEST_F(StreamTest, CloseReportsWhatTheFileRefused) {
    ASSERT_EQ(Open("/dev/full", kStreamWrite, 4096), kErr_None);
    EXPECT_EQ(stream_->Write("0123456789", 10), kErr_None);
    EXPECT_EQ(stream_->Close(), kErr_StreamDiskIsFull);
    EXPECT_FALSE(stream_->IsOpen());

    // A length query flushes the bytes and cannot report the failure; the
    // close still does.
    ASSERT_EQ(Open("/dev/full", kStreamWrite, 4096), kErr_None);
    EXPECT_EQ(stream_->Write("abc", 3), kErr_None);
    stream_->UpdateLength();
    EXPECT_EQ(stream_->Close(), kErr_StreamDiskIsFull);

    ASSERT_EQ(Open("/dev/full", kStreamWrite, 4096), kErr_None);
    EXPECT_EQ(stream_->Write("x", 1), kErr_None);
    Stream* s = stream_;
    stream_ = nullptr;
    EXPECT_EQ(Stream::CloseAndDelete(&s), kErr_StreamDiskIsFull);
}
}  // namespace
}  // namespace markup
