// Token: the operations on one scanned piece of a document.
#include "markup/parser/token.h"

#include "markup/faults.h"

namespace markup {

Token::~Token() = default;

void Token::Begin(std::uint32_t at) {
    line = at;
    endLine = at;
    reported = 0;
}

void Token::Finish(const DictionaryBase* dictionary) {
    if (node) node->SetText(dictionary, text);
}

void Token::SetNodeEmpty(bool empty) {
    if (!node) throw InvalidArgumentFault();
    node->SetDeclaredEmpty(empty);
}

DocElement* Token::TakeNode() {
    DocElement* taken = node;
    node = nullptr;
    return taken;
}

}  // namespace markup
