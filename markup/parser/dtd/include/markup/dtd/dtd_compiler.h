// The DTD compiler: DTD text in, a markup Dictionary out.
//
// The whole text is scanned first; each token goes to the list of the
// declaration kind in force when it was read (elements, entities, attribute
// lists, notations, processing instructions, everything else). The entity
// pass then reads the entity declarations, so that parameter entities are
// known wherever they are used; the grammar checks the notation, attribute-
// list, element and processing-instruction lists in that order, and every
// declaration it refuses is moved out; last, the dictionary is built from
// what the lists hold. Bad DTD text never fails a compilation: the messages
// go to the diagnostic sink and the rest is compiled.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "markup/dtd/diagnostics.h"
#include "markup/dtd/dtd_tokens.h"
#include "markup/string.h"

namespace markup {
class Dictionary;
}

namespace markup::dtd {

class DtdCompiler;

// One entity declaration as the entity pass read it.
struct EntityDeclaration {
    std::string name;
    // The replacement literal; a parameter entity's has a blank added at
    // either end, so that keywords at its edges still scan as keywords.
    std::string text;
    std::string publicId;
    std::string systemId;
    std::string notation;
    bool parameter = false;
    bool hasText = false;
    bool hasPublicId = false;
    bool external = false;  // a system id was given
    bool hasNotation = false;
    // A parameter entity's replacement text, scanned into token lists.
    std::unique_ptr<DtdCompiler> tokens;
};

class DtdCompiler {
  public:
    // Nesting of parameter-entity references within references; a deeper
    // reference is left as it stands (and fails the grammar).
    static constexpr std::uint32_t kMaxExpansionDepth = 32;
    // Tokens that expansions may copy in one compilation; past it every
    // further reference is left as it stands.
    static constexpr std::uint32_t kMaxExpandedTokens = 1u << 18;

    explicit DtdCompiler(DiagnosticSink& sink = StandardOutput());
    ~DtdCompiler();
    DtdCompiler(const DtdCompiler&) = delete;
    DtdCompiler& operator=(const DtdCompiler&) = delete;

    // Compiles the text: scan, entity pass, the passes over the notation,
    // attribute-list, element and processing-instruction lists, then the
    // dictionary. Use a compiler for one compilation.
    std::unique_ptr<Dictionary> Compile(std::istream& input);

    // Scanning. Scan appends every token of the text to the lists; false when
    // the scanner gave up part-way (its message printed), the tokens before
    // that kept. The scanner adds tokens through AddToken and switches lists
    // through SwitchList.
    bool Scan(std::istream& input);
    void AddToken(std::uint32_t code, std::uint32_t form, std::string_view text, std::uint32_t line);
    void SwitchList(std::uint32_t kind) { current_ = kind; }
    std::uint32_t CurrentList() const { return current_; }

    // The grammar's token source: the next token code of the current list,
    // 0 at its end. A reference to a known parameter entity is replaced in
    // the list by copies of the entity's tokens first, then read on.
    int NextToken();
    // One run of the grammar over a whole list: 0 accepted, 1 syntax error,
    // 2 parser stack exhausted.
    int Parse(std::uint32_t kind);
    // Parses the list until the grammar accepts what is left, moving each
    // declaration it refuses to the list of everything else.
    void RunPass(std::uint32_t kind);
    // Reads the entity declarations into the declaration table.
    void RunEntityPass();

    // Null when the table holds no such declaration. General and parameter
    // entities have names of their own.
    const EntityDeclaration* FindEntity(std::string_view name, bool parameter) const;
    const TokenList& List(std::uint32_t kind) const { return lists_[Slot(kind)]; }
    DiagnosticSink& Diagnostics() const { return sink_; }

    // The grammar's error routine.
    void ReportParserError(const char* message);

  private:
    friend class DictionaryBuilder;

    using Position = TokenList::iterator;
    using EntityKey = std::pair<bool, std::string>;  // parameter, name

    static std::uint32_t Slot(std::uint32_t kind) { return kind >= 1 && kind <= kListCount ? kind - 1 : 6; }
    TokenList& MutableList(std::uint32_t kind) { return lists_[Slot(kind)]; }

    int ParseFromPosition();
    // Replaces the reference at the position by copies of the entity's
    // tokens; false (and the reference stays) past the bounds.
    bool Expand(TokenList& list, const EntityDeclaration& entity);
    void RemoveFailedDeclaration(TokenList& list);
    // Moves [first, last) to the list of everything else; answers last.
    Position MoveOut(TokenList& list, Position first, Position last);
    // Reads the declaration the scratch list holds into the table.
    void ReadEntityDeclaration();

    DiagnosticSink& sink_;
    std::uint32_t current_ = kListOther;
    std::array<TokenList, kListCount> lists_;
    std::map<EntityKey, EntityDeclaration> entities_;
    Position position_;
    // The token the grammar read last: its look-ahead when it fails.
    Position lastRead_;
    std::uint32_t expandedTokens_ = 0;
    bool budgetReported_ = false;
};

// The compiler's entry points. Each answers a new dictionary, or null: for a
// null stream, a file that does not open, an empty text. Messages go to the
// sink.
std::unique_ptr<Dictionary> CompileDtd(std::istream* input, DiagnosticSink& sink = StandardOutput());
std::unique_ptr<Dictionary> CompileDtdFromFile(const String& path, DiagnosticSink& sink = StandardOutput());
std::unique_ptr<Dictionary> CompileDtdFromString(const String& text, DiagnosticSink& sink = StandardOutput());

}  // namespace markup::dtd
