// Dictionary files through the stream manager, and their writer.
#include "dictionary_files.h"

#include "markup/local_file_stream.h"
#include "markup/parser/stream_manager.h"
#include "platform/messages.h"

namespace markup::detail {

namespace {

constexpr std::int32_t kFileBuffer = 4096;

void ShowReadFailure(const String& fileName) {
    String text;
    text.LoadString(kStr_DictionaryReadFailed);
    platform::ShowMessage(platform::MessageKind::Error, fileName.Text(), text.Text());
}

}  // namespace

ReturnCodeEnum ReadDictionaryFile(const String& fileName,
                                  const std::function<ReturnCodeEnum(InStream&)>& read) {
    StreamManager& manager = StreamManager::Instance();
    ReturnCodeEnum status = kErr_None;
    ManagedStream stream(manager, manager.OpenStream(fileName, status));
    if (status != kErr_None) return status;
    if (!stream.Get()) return kErr_OutOfMemory;
    status = stream.Get()->Open(kFileBuffer, kStreamRead);
    if (status != kErr_None) return status;
    status = read(*stream.Get());
    if (status != kErr_None) {
        ShowReadFailure(fileName);
        return status;
    }
    stream.Get()->Close();
    return kErr_None;
}

ReturnCodeEnum WriteDictionaryFile(const String& fileName,
                                   const std::function<ReturnCodeEnum(OutStream&)>& write) {
    ReturnCodeEnum status = kErr_None;
    LocalFileStream* file = LocalFileStream::Create(fileName, status);
    if (!file) return status;
    Stream* stream = file;
    status = file->Open(kFileBuffer, kStreamWrite);
    if (status == kErr_None) status = write(*file);
    // The stream opens without truncating; a shorter dictionary must not
    // keep the tail of a longer one.
    if (status == kErr_None && file->UpdateLength() > static_cast<std::int32_t>(file->WritePosition())) {
        status = file->SetLength(file->WritePosition());
    }
    const ReturnCodeEnum closed = Stream::CloseAndDelete(&stream);
    return status != kErr_None ? status : closed;
}

}  // namespace markup::detail
