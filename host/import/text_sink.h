// Where the description's text goes as it is made: memory, or a temporary
// file behind a buffer of a megabyte, so that a large drawing's text is held
// by the file system rather than by the process.
#ifndef HOST_IMPORT_TEXT_SINK_H
#define HOST_IMPORT_TEXT_SINK_H

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace host::import {

class TextSink {
  public:
    // From now on the text goes to a temporary file; it stays in memory when
    // none can be made. Only before anything was appended.
    void UseFile();
    void Append(std::string_view text);
    // The file could not be written: part of the text is missing.
    bool Lost() const { return lost_; }
    bool Empty() const { return written_ == 0 && buffer_.empty(); }
    // The whole text, in pieces of at most 64 KB, in order.
    bool Read(const std::function<void(std::string_view)>& take) const;
    std::string Text() const;
    void Clear();

  private:
    void Flush();
    void Write(std::string_view text);

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
    std::string buffer_;
    size_t written_ = 0;  // bytes in the file
    bool lost_ = false;
};

}  // namespace host::import

#endif  // HOST_IMPORT_TEXT_SINK_H
