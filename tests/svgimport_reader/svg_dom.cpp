// The test's XML reader over the document tree's own node classes.
#include "svg_dom.h"

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "markup/parser/dom/dom_document.h"
#include "tree_fixtures.h"

namespace reader_test {

using markup::AttrElement;
using markup::Node;

struct SvgDom::Names {
    markup_test::FakeDictionary dictionary;
    std::map<std::string, uint32_t> ids;
    uint32_t Id(const std::string& name) {
        auto hit = ids.find(name);
        if (hit != ids.end()) return hit->second;
        const uint32_t id = static_cast<uint32_t>(ids.size() + 1);
        ids[name] = id;
        dictionary.attributes[id] = name;
        return id;
    }
};

namespace {

// An element named by its text, as the tree keeps elements it has no
// dictionary id for.
constexpr uint32_t kNamedElement = 170;

std::string Decode(std::string_view text, std::string& error) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const size_t end = text.find(';', i);
        if (end == std::string_view::npos) {
            error = "unterminated entity";
            return out;
        }
        const std::string_view name = text.substr(i + 1, end - i - 1);
        static const std::map<std::string_view, char> kEntities = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        if (auto hit = kEntities.find(name); hit != kEntities.end()) {
            out += hit->second;
        } else if (!name.empty() && name[0] == '#') {
            const bool hex = name.size() > 1 && name[1] == 'x';
            unsigned long code = 0;
            for (char c : name.substr(hex ? 2 : 1)) {
                const int digit = c >= '0' && c <= '9'                            ? c - '0'
                                  : hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                                                  : -1;
                if (digit < 0 || code > 0x10FFFF) {
                    error = "bad character reference";
                    break;
                }
                code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
            }
            code = std::min(code, 0xFFFFul);
            // UTF-8
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
        } else {
            error = "unknown entity " + std::string(name);
        }
        i = end;
    }
    return out;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

SvgDom::SvgDom(std::string_view text) : names_(std::make_unique<Names>()) {
    AttrElement* document = markup_test::E(markup::kKindDocument);
    std::vector<AttrElement*> open{document};
    size_t i = 0;
    const auto fail = [&](const char* what) {
        error_ = std::string(what) + " at " + std::to_string(i);
        i = text.size();
    };
    while (i < text.size()) {
        if (text[i] != '<') {
            const size_t end = text.find('<', i);
            const std::string run = Decode(text.substr(i, end - i), error_);
            open.back()->AppendChild(markup_test::T(markup::kKindText, run.c_str()));
            i = end == std::string_view::npos ? text.size() : end;
            continue;
        }
        if (text.substr(i, 4) == "<!--") {
            const size_t end = text.find("-->", i);
            i = end == std::string_view::npos ? text.size() : end + 3;
            continue;
        }
        if (text.substr(i, 2) == "<?" || text.substr(i, 2) == "<!") {
            const size_t end = text.find('>', i);
            i = end == std::string_view::npos ? text.size() : end + 1;
            continue;
        }
        if (text.substr(i, 2) == "</") {
            const size_t end = text.find('>', i);
            if (end == std::string_view::npos || open.size() < 2) {
                fail("stray end tag");
                break;
            }
            open.pop_back();
            i = end + 1;
            continue;
        }
        ++i;
        size_t start = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '>' && text[i] != '/') ++i;
        const std::string name(text.substr(start, i - start));
        AttrElement* element = markup_test::Named(kNamedElement, name.c_str());
        open.back()->AppendChild(element);
        bool closed = false;
        while (true) {
            while (i < text.size() && IsSpace(text[i])) ++i;
            if (i >= text.size()) {
                fail("unterminated tag");
                break;
            }
            if (text[i] == '>') {
                ++i;
                break;
            }
            if (text.substr(i, 2) == "/>") {
                i += 2;
                closed = true;
                break;
            }
            start = i;
            while (i < text.size() && text[i] != '=' && !IsSpace(text[i])) ++i;
            const std::string attribute(text.substr(start, i - start));
            while (i < text.size() && (IsSpace(text[i]) || text[i] == '=')) ++i;
            if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
                fail("unquoted attribute");
                break;
            }
            const char quote = text[i++];
            const size_t end = text.find(quote, i);
            if (end == std::string_view::npos) {
                fail("unterminated value");
                break;
            }
            markup_test::WithAttribute(element, names_->Id(attribute),
                                       Decode(text.substr(i, end - i), error_).c_str());
            i = end + 1;
        }
        if (!closed) open.push_back(element);
    }
    if (open.size() != 1 && error_.empty()) error_ = "unclosed elements";

    auto factory = std::make_unique<markup_test::TestFactory>();
    auto tree = std::make_unique<markup::DocTree>(factory.get(), nullptr);
    tree->SetDictionary(&names_->dictionary);
    tree->AppendChild(document);
    document_ = markup::WDOMDocument_WepImp::Adopt(std::move(tree), std::move(factory));
}

SvgDom::~SvgDom() {
    document_ = markup::WDOMHandle();
}

markup::WDOMHandle SvgDom::ById(std::string_view id) const {
    std::function<markup::WDOMHandle(const markup::WDOMHandle&)> find = [&](const markup::WDOMHandle& node) {
        for (markup::WDOMHandle c = node.GetFirstChild(); !c.IsNull(); c = c.GetNextSibling()) {
            if (c.GetNodeType() != markup::kDOMElementNode) continue;
            const markup::WDOMNamedNodeMapHandle map = c.GetAttributes();
            for (uint32_t k = 0; k < map.GetLength(); ++k) {
                const markup::WDOMHandle a = map.Item(k);
                if (a.GetNodeName().View() == "id" && a.GetNodeValue().View() == id) return c;
            }
            markup::WDOMHandle deeper = find(c);
            if (!deeper.IsNull()) return deeper;
        }
        return markup::WDOMHandle();
    };
    return find(document_);
}

std::string Svg(std::string_view content, int side) {
    const std::string s = std::to_string(side);
    return "<svg width=\"" + s + "\" height=\"" + s + "\">" + std::string(content) + "</svg>";
}

}  // namespace reader_test
