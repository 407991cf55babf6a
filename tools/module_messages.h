// The module's error boxes go to standard error (the module's messages have
// no other way out on this platform); the tool takes standard error while a
// command runs so that a failure is told in one line of its own.
//
// A fatal report (a sanitizer's, or the runtime's before it aborts, or a
// crash) must not die with the capture: on a fatal signal or a sanitizer's
// death, standard error is given back and what was taken (with a
// sanitizer's report) is written to it; a crash's report follows as it would
// without the capture.
#ifndef TOOLS_MODULE_MESSAGES_H
#define TOOLS_MODULE_MESSAGES_H

#include <cstdio>
#include <string>
#include <vector>

namespace tools {

class ModuleMessages {
  public:
    ModuleMessages();
    ~ModuleMessages() { Stop(); }
    ModuleMessages(const ModuleMessages&) = delete;
    ModuleMessages& operator=(const ModuleMessages&) = delete;

    // Standard error back; what the module wrote, one entry a line.
    std::vector<std::string> Stop();

    // The real standard error while capturing (for a progress line), else
    // standard error itself.
    static int TerminalFd();

  private:
    std::FILE* file_ = nullptr;
    int saved_ = -1;
};

}  // namespace tools

#endif  // TOOLS_MODULE_MESSAGES_H
