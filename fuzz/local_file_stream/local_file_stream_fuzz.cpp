// Serialised strings read from a local file of arbitrary bytes: a length
// that the file cannot hold, a short file or a short header must end the
// read with a status, never a crash or an allocation of the bad length.
//
// Input: one byte choosing the stream's buffering and access, then the
// file's bytes. With read-write access each string read is written back at
// the end of the file, so reads and writes alternate over one file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "markup/local_file_stream.h"
#include "markup/string.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 65536) return -1;
    const std::string& path = fuzzsupport::MemoryFileWith(data + 1, size - 1);

    static constexpr std::int32_t kBuffers[] = {-1, 1, 7, 4096};
    const std::int32_t buffer = kBuffers[data[0] & 3];
    const bool readWrite = (data[0] & 4) != 0;

    markup::ReturnCodeEnum status = markup::kErr_None;
    markup::LocalFileStream* opened = markup::LocalFileStream::Create(path.c_str(), status);
    if (opened == nullptr) return 0;
    markup::LocalFileStream& file = *opened;
    if (file.Open(buffer, readWrite ? markup::kStreamReadWrite : markup::kStreamRead) == markup::kErr_None) {
        for (int i = 0; i < 64; ++i) {
            markup::String text;
            if (text.Read(file) != markup::kErr_None) break;
            if (readWrite) {
                if (file.Seek(0, markup::kSeekFromEnd, markup::kStreamWritePosition) != markup::kErr_None)
                    break;
                if (text.Write(file) != markup::kErr_None) break;
            }
            file.AtEnd(markup::kStreamBothPositions);
        }
        file.Seek(-4, markup::kSeekFromCurrent, markup::kStreamReadPosition);
        markup::String last;
        last.Read(file);
    }
    markup::Stream* stream = opened;
    markup::Stream::CloseAndDelete(&stream);
    return 0;
}
