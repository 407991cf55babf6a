// Where the DTD compiler's messages go.
//
// A compilation prints its reports (the grammar's "Error: parse error", the
// passes' "Ret was good" and "Ret was bad", the content-model builder's
// complaints) to one sink: standard output unless the caller hands another,
// so that tests can read them and a caller can keep the library quiet.
#pragma once

#include <string>
#include <string_view>

namespace markup::dtd {

class DiagnosticSink {
  public:
    virtual ~DiagnosticSink() = default;
    // One message as printed; its line end, when it has one, is part of it.
    virtual void Print(std::string_view text) = 0;
    // Formats with printf rules and prints the result.
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

// The process's standard output, where messages go by default.
DiagnosticSink& StandardOutput();
// Drops every message.
DiagnosticSink& Quiet();

// Keeps every message in order.
class RecordingSink : public DiagnosticSink {
  public:
    void Print(std::string_view text) override { text_.append(text); }
    const std::string& Text() const { return text_; }
    void Clear() { text_.clear(); }

  private:
    std::string text_;
};

}  // namespace markup::dtd
