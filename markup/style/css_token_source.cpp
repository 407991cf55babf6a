// CSSTokenSource: moves over a token list, skipping separators, and the
// parsers' consumed marks.
#include "markup/style/css_token_source.h"

namespace markup::style {

CSSTokenSource::CSSTokenSource(Vector<CSSToken>* tokens, bool owning)
    : Iterator<CSSToken>(tokens, false), tokens_(tokens), owning_(owning) {}

CSSTokenSource::~CSSTokenSource() {
    if (owning_) delete tokens_;
}

CSSToken* CSSTokenSource::At(std::uint32_t index) const {
    return tokens_ ? tokens_->At(index) : nullptr;
}

bool CSSTokenSource::IsSeparator(CSSToken* token) {
    if (!token) return false;
    if ((token->Type() >= kCSSCommentOpen && token->Type() <= kCSSComment) || token->Type() == kCSSMediaOpen) {
        token->SetSeparator(true);
    }
    return token->Separator() || token->Consumed();
}

bool CSSTokenSource::IsConsumedOrBlank(const CSSToken* token) {
    return token && (token->Consumed() || token->Type() == kCSSBlanks);
}

void CSSTokenSource::SkipForward() {
    std::uint32_t position = Position();
    while (CSSToken* token = At(position)) {
        if (!IsSeparator(token)) break;
        ++position;
    }
    SetPosition(position);
}

void CSSTokenSource::SkipBackward() {
    std::uint32_t position = Position();
    while (CSSToken* token = At(position)) {
        if (!IsSeparator(token)) break;
        --position;  // from 0 this leaves the list, which stops the move
    }
    SetPosition(position);
}

CSSToken* CSSTokenSource::Next() {
    SetPosition(Position() + 1);
    SkipForward();
    return Current();
}

CSSToken* CSSTokenSource::Previous() {
    SetPosition(Position() - 1);
    SkipBackward();
    return Current();
}

CSSToken* CSSTokenSource::First() {
    Reset();
    SkipForward();
    return Current();
}

CSSToken* CSSTokenSource::Last() {
    SetPosition(Count() - 1);
    SkipBackward();
    return Current();
}

CSSToken* CSSTokenSource::Seek(std::uint32_t position) {
    SetPosition(position);
    SkipForward();
    return Current();
}

CSSToken* CSSTokenSource::CurrentSignificant() {
    SkipForward();
    return Current();
}

void CSSTokenSource::Consume(CSSToken* token) {
    if (!token || !tokens_) return;
    // The parsers mark the token at the position; any other is looked for.
    std::uint32_t index = Position();
    if (At(index) != token && !tokens_->IndexOf(token, index)) return;
    ConsumeAt(index);
}

void CSSTokenSource::ConsumeAt(std::uint32_t index) {
    CSSToken* token = At(index);
    if (!token) return;
    token->SetConsumed(true);
    for (CSSToken* next = At(++index); IsConsumedOrBlank(next); next = At(++index)) next->SetConsumed(true);
}

void CSSTokenSource::Clear() {
    for (std::uint32_t i = 0; i < Count(); ++i) {
        if (CSSToken* token = At(i)) token->SetSeparator(false);
    }
}

std::uint32_t CSSTokenSource::CurrentType() {
    const CSSToken* token = CurrentSignificant();
    return token ? token->Type() : 0;
}

void CSSTokenSource::ConsumeThrough(std::uint32_t type) {
    std::uint32_t position = Position();
    while (CSSToken* token = At(position)) {
        // Tokens marked before are passed over whatever they are.
        if (!token->Consumed()) {
            if (token->Type() == type) {
                token->SetConsumed(true);
                ++position;
                break;
            }
            if (token->Type() == kCSSBlockClose || token->Type() == kCSSEnd) break;
            token->SetConsumed(true);
        }
        ++position;
    }
    SetPosition(position);
}

}  // namespace markup::style
