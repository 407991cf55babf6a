// A plain text form of a dictionary's whole content, one record a line, for
// comparing dictionaries (a written and reread dictionary dumps equal to the
// one written) and for reading them.
//
// Content models read as in DTDs, with element ids for names: "(#12 | %23)*"
// is any number of element 12 or members of group 23; a connective of all
// children in any order joins them with "&". Texts are quoted with non-ASCII
// and control bytes as \xHH.
#pragma once

#include <string>

#include "markup/parser/content_symbol.h"

namespace markup {

class Dictionary;
class CSSDictionary;
class AttributeType;

std::string DumpDictionary(const Dictionary& dictionary);
std::string DumpCSSDictionary(const CSSDictionary& dictionary);
std::string DumpContentModel(const ContentSymbol& symbol);
std::string DumpAttributeType(const AttributeType& type);

}  // namespace markup
