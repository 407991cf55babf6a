// The regular-expression matcher: tries the program at each possible start
// and walks its nodes with backtracking.
#include <cstring>

#include "markup/parser/regexp.h"
#include "regexp_program.h"

namespace markup::regexp {

using namespace detail;

namespace {

// Bounds on one match. Every alternative tried and every loop round nests
// one call deeper, so a long text under a looping group would otherwise
// exhaust the stack; the step bound (a base plus a share per character of
// the text) stops exponential backtracking. A match that reaches either
// fails like any other engine error.
constexpr int kMaxDepth = 1000;
constexpr long long kBaseSteps = 1000000;
constexpr long long kStepsPerCharacter = 16;

class Matcher {
  public:
    Matcher(Program& program, const char* text)
        : program_(program),
          bol_(text),
          maxSteps_(kBaseSteps + kStepsPerCharacter * static_cast<long long>(std::strlen(text))) {}

    bool Try(const char* at) {
        input_ = at;
        for (int i = 0; i < kGroups; ++i) program_.startp[i] = program_.endp[i] = nullptr;
        if (!Match(program_.Code() + 1, 0)) return false;
        program_.startp[0] = at;
        program_.endp[0] = input_;
        return true;
    }

  private:
    bool Match(const char* scan, int depth) {
        if (depth > kMaxDepth) regerror("match too deep");
        while (scan) {
            if (++steps_ > maxSteps_) regerror("match too long");
            const char* next = Next(scan);
            const unsigned char op = Op(scan);
            switch (op) {
                case kBol:
                    if (input_ != bol_) return false;
                    break;
                case kEol:
                    if (*input_ != '\0') return false;
                    break;
                case kAny:
                    if (*input_ == '\0') return false;
                    ++input_;
                    break;
                case kExactly: {
                    const char* operand = Operand(scan);
                    if (*operand != *input_) return false;
                    const std::size_t length = std::strlen(operand);
                    if (length > 1 && std::strncmp(operand, input_, length) != 0) return false;
                    input_ += length;
                    break;
                }
                case kAnyOf:
                    if (*input_ == '\0' || !std::strchr(Operand(scan), *input_)) return false;
                    ++input_;
                    break;
                case kAnyBut:
                    if (*input_ == '\0' || std::strchr(Operand(scan), *input_)) return false;
                    ++input_;
                    break;
                case kNothing:
                case kBack:
                    break;
                case kBranch: {
                    if (Op(next) != kBranch) {
                        next = Operand(scan);  // one alternative: no choice to make
                        break;
                    }
                    do {
                        const char* save = input_;
                        if (Match(Operand(scan), depth + 1)) return true;
                        input_ = save;
                        scan = Next(scan);
                    } while (scan && Op(scan) == kBranch);
                    return false;
                }
                case kStar:
                case kPlus: {
                    const char nextChar = Op(next) == kExactly ? *Operand(next) : '\0';
                    const long least = op == kStar ? 0 : 1;
                    const char* save = input_;
                    // The most repetitions first, giving one back at a time.
                    for (long count = Repeat(Operand(scan)); count >= least; --count) {
                        input_ = save + count;
                        if ((nextChar == '\0' || *input_ == nextChar) && Match(next, depth + 1)) return true;
                    }
                    return false;
                }
                case kEnd:
                    return true;
                default:
                    if (op > kOpen && op < kOpen + kGroups) {
                        const char* save = input_;
                        if (!Match(next, depth + 1)) return false;
                        if (!program_.startp[op - kOpen]) program_.startp[op - kOpen] = save;
                        return true;
                    }
                    if (op > kClose && op < kClose + kGroups) {
                        const char* save = input_;
                        if (!Match(next, depth + 1)) return false;
                        if (!program_.endp[op - kClose]) program_.endp[op - kClose] = save;
                        return true;
                    }
                    regerror("memory corruption");
            }
            scan = next;
        }
        regerror("corrupted pointers");
    }

    // How many times the simple node matches from the input on; the input
    // moves past them.
    long Repeat(const char* node) {
        const char* scan = input_;
        const char* operand = Operand(node);
        switch (Op(node)) {
            case kAny:
                scan += std::strlen(scan);
                break;
            case kExactly:
                while (*operand == *scan) ++scan;
                break;
            case kAnyOf:
                while (*scan != '\0' && std::strchr(operand, *scan)) ++scan;
                break;
            case kAnyBut:
                while (*scan != '\0' && !std::strchr(operand, *scan)) ++scan;
                break;
            default:
                regerror("internal foulup");
        }
        const long count = scan - input_;
        input_ = scan;
        return count;
    }

    Program& program_;
    const char* bol_;
    const char* input_ = nullptr;
    const long long maxSteps_;
    long long steps_ = 0;
};

}  // namespace

int regexec(Program* program, const char* text) {
    if (!program || !text) regerror("NULL parameter");
    if (static_cast<unsigned char>(program->Code()[0]) != kMagic) regerror("corrupted program");
    if (program->regmust) {
        const char* s = text;
        while ((s = std::strchr(s, program->regmust[0])) != nullptr) {
            if (std::strncmp(s, program->regmust, program->regmlen) == 0) break;
            ++s;
        }
        if (!s) return 0;
    }
    Matcher matcher(*program, text);
    if (program->reganch) return matcher.Try(text) ? 1 : 0;
    const char* s = text;
    if (program->regstart != '\0') {
        while ((s = std::strchr(s, program->regstart)) != nullptr) {
            if (matcher.Try(s)) return 1;
            ++s;
        }
        return 0;
    }
    do {
        if (matcher.Try(s)) return 1;
    } while (*s++ != '\0');
    return 0;
}

}  // namespace markup::regexp
