// Building the dictionary from the token lists the passes left.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "markup/dtd/dtd_compiler.h"

namespace markup {
class Dictionary;
class HTMLAttributeDef;
}  // namespace markup

namespace markup::dtd {

class DictionaryBuilder {
  public:
    using ElementIds = std::unordered_map<std::string, std::uint32_t>;

    explicit DictionaryBuilder(DtdCompiler& compiler) : compiler_(compiler) {}

    // Entities, attributes, element ids, then the element definitions; a
    // second declaration of an element is moved out of the element list.
    std::unique_ptr<Dictionary> Build();

    // Ids in declaration order from 1, stepping over those of the fixed
    // node kinds (159 to 185).
    static std::uint32_t NextId(std::uint32_t previous);

  private:
    void AddEntities(Dictionary& dictionary) const;
    void AddAttributes(Dictionary& dictionary);
    template <class Iterator>
    void ReadAttributeList(Iterator from, Iterator end,
                           std::vector<std::unique_ptr<HTMLAttributeDef>>& attributes);
    void NumberElements();
    void AddElements(Dictionary& dictionary);

    DtdCompiler& compiler_;
    std::uint32_t lastAttributeId_ = 0;
    std::uint32_t lastElementId_ = 0;
    // The attribute ids of each element name, in declaration order.
    std::map<std::string, std::vector<std::uint32_t>> attributesOf_;
    ElementIds elementIds_;
};

}  // namespace markup::dtd
