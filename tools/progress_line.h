// One progress line on the terminal while a long command runs: how much of
// its input file has been read, then (when the command counts them) how many
// objects have been drawn. Redrawn in place at most ten times a second from
// a thread of its own and cleared at the end; nothing at all when the
// terminal descriptor is not a terminal (a pipe, a file).
#ifndef TOOLS_PROGRESS_LINE_H
#define TOOLS_PROGRESS_LINE_H

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace tools {

class ProgressLine {
  public:
    // `fd`: where to draw (the real standard error). `input`: the file whose
    // reading shows as the first part. `drawn`, when given, counts the
    // second part (read from the progress thread).
    ProgressLine(int fd, std::string label, const std::string& input, std::function<uint64_t()> drawn = {});
    ~ProgressLine() { Stop(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Clears the line; nothing is drawn after it.
    void Stop();

  private:
    void Run();
    void Draw();

    int fd_;
    std::string label_;
    std::string input_;  // its real path
    uint64_t size_ = 0;
    std::function<uint64_t()> drawn_;
    uint64_t lastRead_ = 0;
    bool drew_ = false;
    std::mutex lock_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

// How far the process has read into the file at `path` (the position of a
// descriptor open on it), or nothing when none is open.
bool ReadPosition(const std::string& path, uint64_t* position);

}  // namespace tools

#endif  // TOOLS_PROGRESS_LINE_H
