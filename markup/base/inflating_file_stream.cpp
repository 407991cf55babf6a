// InflatingFileStream over the platform's gzip reader.
#include "markup/inflating_file_stream.h"

#include "platform/inflating_file.h"

namespace markup {

InflatingFileStream::InflatingFileStream(std::uint64_t maxBytes)
    : file_(std::make_unique<platform::InflatingFile>()), maxBytes_(maxBytes) {}

InflatingFileStream::~InflatingFileStream() = default;

ReturnCodeEnum InflatingFileStream::Open(std::int32_t, std::int32_t mode) {
    if (mode != kStreamRead) return kErr_StreamReadOnly;
    file_->Close();
    position_ = 0;
    ended_ = passedBound_ = false;
    open_ = file_->Open(name_.Text());
    if (!open_) return kErr_StreamRead;
    mode_ = kStreamRead;
    return kErr_None;
}

ReturnCodeEnum InflatingFileStream::Close() {
    file_->Close();
    open_ = false;
    mode_ = kStreamNotOpened;
    return kErr_None;
}

bool InflatingFileStream::AtEnd(std::int32_t) {
    return ended_;
}

ReturnCodeEnum InflatingFileStream::Seek(std::int32_t, std::int32_t, std::int32_t) {
    return kErr_StreamSeek;  // an inflating reader only goes forward
}

ReturnCodeEnum InflatingFileStream::Write(const void*, std::uint32_t) {
    return kErr_StreamReadOnly;
}

ReturnCodeEnum InflatingFileStream::Read(void* buffer, std::uint32_t& count) {
    const std::uint32_t wanted = count;
    count = 0;
    if (!open_) return kErr_StreamRead;
    const long got = file_->Read(buffer, wanted);
    if (got < 0) return kErr_StreamHardwareIO;
    if (got == 0) {
        ended_ = true;
        return kErr_StreamRead;
    }
    position_ += static_cast<std::uint64_t>(got);
    if (position_ > maxBytes_) {
        passedBound_ = true;
        return kErr_StreamHardwareIO;
    }
    count = static_cast<std::uint32_t>(got);
    return kErr_None;
}

}  // namespace markup
