// CSSToken: copies of a token.
#include "markup/style/css_token.h"

#include "style_heap.h"

namespace markup::style {

CSSToken::~CSSToken() = default;

CSSToken* CSSToken::Clone() const {
    return detail::CopyOf(*this);
}

}  // namespace markup::style
