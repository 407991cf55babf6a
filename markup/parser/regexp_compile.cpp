// The regular-expression compiler: two passes over the pattern, the first
// measuring the program, the second emitting it; then the hints the matcher
// starts from (first character, anchor, a literal every match holds).
#include <cstdlib>
#include <cstring>

#include "markup/parser/regexp.h"
#include "regexp_program.h"

namespace markup::regexp {

using namespace detail;

void regerror(const char*) {
    throw 1;
}

namespace {

// What a parsed piece can do, for the checks of the repeat operators.
enum PieceFlags : int {
    kWorst = 0,
    kHasWidth = 1,  // never matches the empty text
    kSimple = 2,    // one character wide: a STAR or PLUS operand
    kSpStart = 4,   // starts with a STAR or PLUS
};

const char kMeta[] = "^$.[()|?+*\\";

bool IsRepeat(char c) {
    return c == '*' || c == '+' || c == '?';
}

class Compiler {
  public:
    Compiler(const char* pattern, char* code) : parse_(pattern), code_(code ? code : &dummy_) {}

    std::size_t Size() const { return size_; }

    // The whole pattern; answers the flags of the top level.
    int Run() {
        Emit(static_cast<char>(kMagic));
        int flags = 0;
        Alternatives(false, flags);
        return flags;
    }

  private:
    bool Measuring() const { return code_ == &dummy_; }

    // Alternatives separated by "|", optionally in parentheses.
    char* Alternatives(bool paren, int& flags) {
        flags = kHasWidth;
        char* ret = nullptr;
        int group = 0;
        if (paren) {
            if (groups_ >= kGroups) regerror("too many ()");
            group = groups_++;
            ret = Node(static_cast<unsigned char>(kOpen + group));
        }
        int branchFlags = 0;
        char* branch = Branch(branchFlags);
        if (ret) {
            Tail(ret, branch);
        } else {
            ret = branch;
        }
        if (!(branchFlags & kHasWidth)) flags &= ~kHasWidth;
        flags |= branchFlags & kSpStart;
        while (*parse_ == '|') {
            ++parse_;
            branch = Branch(branchFlags);
            Tail(ret, branch);
            if (!(branchFlags & kHasWidth)) flags &= ~kHasWidth;
            flags |= branchFlags & kSpStart;
        }
        char* ender =
            Node(paren ? static_cast<unsigned char>(kClose + group) : static_cast<unsigned char>(kEnd));
        Tail(ret, ender);
        for (char* b = ret; b; b = NextNode(b)) OpTail(b, ender);
        if (paren) {
            if (*parse_++ != ')') regerror("unmatched ()");
        } else if (*parse_ != '\0') {
            regerror(*parse_ == ')' ? "unmatched ()" : "junk on end");
        }
        return ret;
    }

    // One alternative: a sequence of pieces.
    char* Branch(int& flags) {
        flags = kWorst;
        char* ret = Node(kBranch);
        char* chain = nullptr;
        while (*parse_ != '\0' && *parse_ != '|' && *parse_ != ')') {
            int pieceFlags = 0;
            char* latest = Piece(pieceFlags);
            flags |= pieceFlags & kHasWidth;
            if (!chain) {
                flags |= pieceFlags & kSpStart;
            } else {
                Tail(chain, latest);
            }
            chain = latest;
        }
        if (!chain) Node(kNothing);
        return ret;
    }

    // An atom and the repeat after it.
    char* Piece(int& flags) {
        int atomFlags = 0;
        char* ret = Atom(atomFlags);
        const char op = *parse_;
        if (!IsRepeat(op)) {
            flags = atomFlags;
            return ret;
        }
        if (!(atomFlags & kHasWidth) && op != '?') regerror("*+ operand could be empty");
        flags = op != '+' ? (kWorst | kSpStart) : (kWorst | kHasWidth);
        if (op == '*' && (atomFlags & kSimple)) {
            Insert(kStar, ret);
        } else if (op == '*') {
            // x* as (x&|), & standing for the whole again.
            Insert(kBranch, ret);
            OpTail(ret, Node(kBack));
            OpTail(ret, ret);
            Tail(ret, Node(kBranch));
            Tail(ret, Node(kNothing));
        } else if (op == '+' && (atomFlags & kSimple)) {
            Insert(kPlus, ret);
        } else if (op == '+') {
            // x+ as x(&|).
            char* next = Node(kBranch);
            Tail(ret, next);
            Tail(Node(kBack), ret);
            Tail(next, Node(kBranch));
            Tail(ret, Node(kNothing));
        } else {
            // x? as (x|).
            Insert(kBranch, ret);
            Tail(ret, Node(kBranch));
            char* next = Node(kNothing);
            Tail(ret, next);
            OpTail(ret, next);
        }
        ++parse_;
        if (IsRepeat(*parse_)) regerror("nested *?+");
        return ret;
    }

    char* Atom(int& flags) {
        flags = kWorst;
        char* ret = nullptr;
        switch (*parse_++) {
            case '^':
                ret = Node(kBol);
                break;
            case '$':
                ret = Node(kEol);
                break;
            case '.':
                ret = Node(kAny);
                flags |= kHasWidth | kSimple;
                break;
            case '[':
                ret = Set();
                flags |= kHasWidth | kSimple;
                break;
            case '(': {
                int groupFlags = 0;
                ret = Alternatives(true, groupFlags);
                flags |= groupFlags & (kHasWidth | kSpStart);
                break;
            }
            case '\0':
            case '|':
            case ')':
                regerror("internal urp");  // the branch loop stops before these
            case '?':
            case '+':
            case '*':
                regerror("?+* follows nothing");
            case '\\':
                if (*parse_ == '\0') regerror("trailing \\");
                ret = Node(kExactly);
                Emit(*parse_++);
                Emit('\0');
                flags |= kHasWidth | kSimple;
                break;
            default: {
                --parse_;
                std::size_t length = std::strcspn(parse_, kMeta);
                if (length == 0) regerror("internal disaster");
                // A repeat applies to the last character alone.
                if (length > 1 && IsRepeat(parse_[length])) --length;
                flags |= kHasWidth;
                if (length == 1) flags |= kSimple;
                ret = Node(kExactly);
                while (length-- > 0) Emit(*parse_++);
                Emit('\0');
                break;
            }
        }
        return ret;
    }

    // After "[": the set as an operand of the characters in it.
    char* Set() {
        char* ret = nullptr;
        if (*parse_ == '^') {
            ret = Node(kAnyBut);
            ++parse_;
        } else {
            ret = Node(kAnyOf);
        }
        if (*parse_ == ']' || *parse_ == '-') Emit(*parse_++);
        while (*parse_ != '\0' && *parse_ != ']') {
            if (*parse_ != '-') {
                Emit(*parse_++);
                continue;
            }
            ++parse_;
            if (*parse_ == ']' || *parse_ == '\0') {
                Emit('-');
                continue;
            }
            // The range's first character is already in the operand.
            int from = static_cast<unsigned char>(parse_[-2]) + 1;
            const int to = static_cast<unsigned char>(parse_[0]);
            if (from > to + 1) regerror("invalid [] range");
            for (; from <= to; ++from) Emit(static_cast<char>(from));
            ++parse_;
        }
        Emit('\0');
        if (*parse_ != ']') regerror("unmatched []");
        ++parse_;
        return ret;
    }

    char* Node(unsigned char op) {
        char* ret = code_;
        if (Measuring()) {
            size_ += kNodeSize;
            return ret;
        }
        *code_++ = static_cast<char>(op);
        *code_++ = '\0';
        *code_++ = '\0';
        return ret;
    }

    void Emit(char c) {
        if (Measuring()) {
            ++size_;
        } else {
            *code_++ = c;
        }
    }

    // Puts a node in front of the operand, moving it up.
    void Insert(unsigned char op, char* operand) {
        if (Measuring()) {
            size_ += kNodeSize;
            return;
        }
        std::memmove(operand + kNodeSize, operand, static_cast<std::size_t>(code_ - operand));
        code_ += kNodeSize;
        operand[0] = static_cast<char>(op);
        operand[1] = '\0';
        operand[2] = '\0';
    }

    char* NextNode(char* node) const { return node == &dummy_ ? nullptr : Next(node); }

    // Links the last node of the chain at p to val.
    void Tail(char* p, char* val) {
        if (p == &dummy_) return;
        char* scan = p;
        for (char* next = NextNode(scan); next; next = NextNode(scan)) scan = next;
        const long offset = Op(scan) == kBack ? scan - val : val - scan;
        scan[1] = static_cast<char>((offset >> 8) & 0377);
        scan[2] = static_cast<char>(offset & 0377);
    }

    // Tail on the operand of a branch; nothing for other nodes.
    void OpTail(char* p, char* val) {
        if (!p || p == &dummy_ || Op(p) != kBranch) return;
        Tail(Operand(p), val);
    }

    const char* parse_;
    char* code_;
    char dummy_ = 0;
    int groups_ = 1;
    std::size_t size_ = 0;
};

}  // namespace

Program* regcomp(const char* pattern) {
    if (!pattern) regerror("NULL argument");
    Compiler measure(pattern, nullptr);
    measure.Run();
    if (measure.Size() >= kMaxProgramSize) regerror("regexp too big");
    auto* program = static_cast<Program*>(std::malloc(sizeof(Program) + measure.Size()));
    if (!program) regerror("out of space");
    std::memset(program, 0, sizeof(Program));
    int flags = 0;
    try {
        Compiler emit(pattern, program->Code());
        flags = emit.Run();
    } catch (...) {
        std::free(program);
        throw;
    }
    // With one top-level alternative, what it starts with says where a
    // match can start.
    const char* scan = program->Code() + 1;
    if (Op(Next(scan)) == kEnd) {
        scan = Operand(scan);
        if (Op(scan) == kExactly) {
            program->regstart = *Operand(scan);
        } else if (Op(scan) == kBol) {
            program->reganch = 1;
        }
        // A match that can start anywhere must still contain the longest
        // literal of the sequence; testing for it first is cheap.
        if (flags & kSpStart) {
            const char* longest = nullptr;
            std::size_t length = 0;
            for (; scan; scan = Next(scan)) {
                if (Op(scan) == kExactly && std::strlen(Operand(scan)) >= length) {
                    longest = Operand(scan);
                    length = std::strlen(longest);
                }
            }
            program->regmust = longest;
            program->regmlen = static_cast<std::uint32_t>(length);
        }
    }
    return program;
}

}  // namespace markup::regexp
