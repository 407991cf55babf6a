// The DTD compiler's token lists, the grammar's token source with
// parameter-entity expansion, the passes and the entity declarations.
#include "markup/dtd/dtd_compiler.h"

#include <iterator>
#include <sstream>

#include "dictionary_builder.h"
#include "dtd_grammar.h"
#include "dtd_scanner.h"
#include "markup/parser/dictionary.h"
#include "token_cursor.h"

namespace markup::dtd {

namespace {

// The order in which an entity's lists are copied in place of a reference.
constexpr std::uint32_t kExpansionOrder[] = {kListAttributes, kListElements,  kListEntities,
                                             kListOther,      kListNotations, kListInstructions};

}  // namespace

DtdCompiler::DtdCompiler(DiagnosticSink& sink) : sink_(sink) {
    position_ = lists_[Slot(current_)].end();
    lastRead_ = position_;
}

DtdCompiler::~DtdCompiler() = default;

std::unique_ptr<Dictionary> DtdCompiler::Compile(std::istream& input) {
    Scan(input);
    RunEntityPass();
    for (std::uint32_t kind : {kListNotations, kListAttributes, kListElements, kListInstructions}) {
        RunPass(kind);
    }
    return DictionaryBuilder(*this).Build();
}

bool DtdCompiler::Scan(std::istream& input) {
    DtdScanner scanner(input, *this);
    return scanner.ScanAll();
}

void DtdCompiler::AddToken(std::uint32_t code, std::uint32_t form, std::string_view text,
                           std::uint32_t line) {
    std::unique_ptr<CToken> token;
    switch (form) {
        case kFormRegular:
            token = std::make_unique<CRegularToken>(code, line);
            break;
        case kFormLiteral:
            token = std::make_unique<CLiteralToken>(code, line, text);
            break;
        default:
            token = std::make_unique<CValuedToken>(code, line, text);
            break;
    }
    MutableList(current_).push_back(std::move(token));
}

int DtdCompiler::NextToken() {
    TokenList& list = MutableList(current_);
    while (position_ != list.end()) {
        const CToken& token = **position_;
        if (token.Code() == kTokPERef) {
            const EntityDeclaration* entity = FindEntity(token.Text(), true);
            if (entity && Expand(list, *entity)) continue;
        }
        lastRead_ = position_++;
        return static_cast<int>(token.Code());
    }
    lastRead_ = list.end();
    return 0;
}

bool DtdCompiler::Expand(TokenList& list, const EntityDeclaration& entity) {
    const CToken& reference = **position_;
    const std::uint32_t depth = reference.ExpansionDepth() + 1;
    if (depth > kMaxExpansionDepth) {
        sink_.Printf("Parameter entity %%%s; nested more than %u deep\n", reference.Text().c_str(),
                     kMaxExpansionDepth);
        return false;
    }
    std::size_t count = 0;
    if (entity.tokens) {
        for (std::uint32_t kind : kExpansionOrder) count += entity.tokens->List(kind).size();
    }
    if (count > kMaxExpandedTokens - expandedTokens_) {
        if (!budgetReported_) {
            sink_.Printf("Parameter entities expanded to more than %u tokens\n", kMaxExpandedTokens);
            budgetReported_ = true;
        }
        return false;
    }
    expandedTokens_ += static_cast<std::uint32_t>(count);

    TokenList copies;
    if (entity.tokens) {
        for (std::uint32_t kind : kExpansionOrder) {
            for (const auto& token : entity.tokens->List(kind)) {
                copies.push_back(token->Copy());
                copies.back()->SetExpansionDepth(depth);
            }
        }
    }
    const Position next = list.erase(position_);
    position_ = copies.empty() ? next : copies.begin();
    list.splice(next, copies);
    return true;
}

int DtdCompiler::Parse(std::uint32_t kind) {
    current_ = kind;
    position_ = MutableList(kind).begin();
    return ParseFromPosition();
}

int DtdCompiler::ParseFromPosition() {
    lastRead_ = MutableList(current_).end();
    return dtdparse(*this);
}

void DtdCompiler::RunPass(std::uint32_t kind) {
    current_ = kind;
    TokenList& list = MutableList(kind);
    position_ = list.begin();
    for (;;) {
        const int result = ParseFromPosition();
        // A stack that ran out ends the pass as an accepted list does: the
        // grammar cannot take that declaration at all.
        sink_.Print(result == 1 ? "Ret was bad\n" : "Ret was good\n");
        if (result != 1) return;
        if (list.empty()) {
            sink_.Print("ERRO!\n\n");
            return;
        }
        RemoveFailedDeclaration(list);
    }
}

void DtdCompiler::RemoveFailedDeclaration(TokenList& list) {
    // The walk starts at the token before the look-ahead that failed, so the
    // declaration that holds the error goes, and never one that follows it.
    Position from = list.begin();
    bool afterGT = false;
    if (lastRead_ != list.begin()) {
        for (Position p = std::prev(lastRead_);; --p) {
            const std::uint32_t code = (*p)->Code();
            if (code == kTokGT) {
                from = std::next(p);
                afterGT = true;
                break;
            }
            if (IsDeclarationStart(code) || p == list.begin()) {
                from = p;
                break;
            }
        }
    }
    Position to = from;
    if (afterGT) {
        // Stray tokens between declarations.
        while (to != list.end() && !IsDeclarationStart((*to)->Code())) ++to;
    } else {
        to = detail::DeclarationEnd(from, list.end());
    }
    position_ = MoveOut(list, from, to);
}

DtdCompiler::Position DtdCompiler::MoveOut(TokenList& list, Position first, Position last) {
    TokenList& other = MutableList(kListOther);
    if (&other != &list) other.splice(other.end(), list, first, last);
    return last;
}

void DtdCompiler::RunEntityPass() {
    TokenList& entities = MutableList(kListEntities);
    TokenList& scratch = MutableList(kListScratch);
    detail::ForEachDeclaration(entities, kTokEntityDecl, [&](Position start, Position end) {
        for (Position it = start; it != end; ++it) scratch.push_back((*it)->Copy());
        // A declaration the grammar refuses leaves the scratch list empty.
        RunPass(kListScratch);
        if (!scratch.empty()) ReadEntityDeclaration();
        scratch.clear();
        return end;
    });
}

void DtdCompiler::ReadEntityDeclaration() {
    const TokenList& scratch = List(kListScratch);
    detail::TokenCursor cursor(scratch.begin(), scratch.end());
    if (!cursor.Take(kTokEntityDecl)) return;
    EntityDeclaration entity;
    entity.parameter = cursor.Take(kTokPercent);
    if (cursor.Code() != kTokName) return;
    entity.name = cursor.Text();
    cursor.Next();
    if (cursor.Code() == kTokLiteral) {
        entity.hasText = true;
        entity.text = cursor.Text();
        cursor.Next();
    } else if (cursor.Take(kTokSystem)) {
        if (cursor.Code() != kTokLiteral) return;
        entity.external = true;
        entity.systemId = cursor.Text();
        cursor.Next();
    } else if (cursor.Take(kTokPublic)) {
        if (cursor.Code() != kTokLiteral) return;
        entity.hasPublicId = true;
        entity.publicId = cursor.Text();
        cursor.Next();
        if (cursor.Code() != kTokLiteral) return;
        entity.external = true;
        entity.systemId = cursor.Text();
        cursor.Next();
    }
    if (cursor.Take(kTokNData) && cursor.Code() == kTokName) {
        entity.hasNotation = true;
        entity.notation = cursor.Text();
    }

    EntityKey key{entity.parameter, entity.name};
    if (entities_.count(key)) return;  // the first declaration of a name holds
    if (entity.parameter && entity.hasText) {
        entity.text = " " + entity.text + " ";
        entity.tokens = std::make_unique<DtdCompiler>(sink_);
        std::istringstream text(entity.text);
        entity.tokens->Scan(text);
    }
    entities_.emplace(std::move(key), std::move(entity));
}

const EntityDeclaration* DtdCompiler::FindEntity(std::string_view name, bool parameter) const {
    const auto it = entities_.find(EntityKey{parameter, std::string(name)});
    return it == entities_.end() ? nullptr : &it->second;
}

void DtdCompiler::ReportParserError(const char* message) {
    // bison's own words, in the ones this compiler has always printed.
    std::string_view text = message;
    if (text == "syntax error") {
        text = "parse error";
    } else if (text == "memory exhausted") {
        text = "parser stack overflow";
    }
    sink_.Printf("Error: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace markup::dtd
