// The text table of the CSS property dictionary, read into a CSSDictionary.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "markup/parser/css_dictionary.h"

namespace dicgen {

// Fills the dictionary from the table; false with one message per fault
// ("NAME:LINE: what"), in which case the dictionary holds no property.
bool ReadCSSTable(std::istream& in, const std::string& name, markup::CSSDictionary& dictionary,
                  std::vector<std::string>& errors);

}  // namespace dicgen
