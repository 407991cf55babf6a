// CSSManager::CollectSheetDeclarations (the rules' objects, as callers of
// the interface get them) and CollectMatchingValues (the values the
// cascade applies) for every element of a tree of 10^5 elements (10^4
// groups of nine rects, each with an id and two class words), under a
// sheet of 10^4 rules: "Mixed" has type, class, id, compound, descendant,
// child, sibling and attribute selectors in turn, "ClassesOnly" one class
// selector a rule. Counter rules_matched: the declarations collected over
// the whole tree.
//
// The scanner on a comment of 10^3 to 10^5 NUL bytes beside the same
// comment of 1 bytes: a NUL, which flex's buffer takes for its end, costs
// what any other byte does.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "markup/attr_element.h"
#include "markup/doc_tree.h"
#include "markup/parser/css_dictionary.h"
#include "markup/parser/dictionary.h"
#include "markup/style/css_manager.h"
#include "markup/style/css_tokenizer.h"

namespace {

using namespace markup::style;

constexpr std::uint32_t kG = 186, kRect = 188;
constexpr int kGroups = 10000, kRectsPerGroup = 9, kRules = 10000;

const markup::CSSDictionary& Css() {
    static const markup::CSSDictionary* css = [] {
        auto* d = new markup::CSSDictionary();
        if (d->Load((std::string(SVGFILTER_DICTIONARY_DIR) + markup::CSSDictionary::kFileName).c_str()) !=
            markup::kErr_None) {
            std::abort();
        }
        return d;
    }();
    return *css;
}

// g (186) and rect (188), each taking id 1 and class 2.
markup::Dictionary& Markup() {
    static markup::Dictionary* d = [] {
        auto* dictionary = new markup::Dictionary();
        dictionary->CreateEditor();
        for (auto [id, name] : {std::pair{kG, "g"}, std::pair{kRect, "rect"}}) {
            auto def = std::make_unique<markup::ElementDef>();
            def->SetId(id);
            def->SetName(name);
            for (std::uint32_t a = 1; a <= 2; ++a) def->AddAttribute(a);
            dictionary->Elements().Insert(std::move(def));
        }
        const char* names[] = {"id", "class"};
        for (std::uint32_t a = 1; a <= 2; ++a) {
            auto attribute = std::make_unique<markup::HTMLAttributeDef>();
            attribute->SetId(a);
            attribute->SetName(names[a - 1]);
            dictionary->Attributes().Insert(std::move(attribute));
        }
        return dictionary;
    }();
    return *d;
}

class Factory : public markup::WebElementFactory {
  public:
    markup::DocElement* Create(markup::DictionaryBase*, std::uint32_t, const markup::String*, int) override {
        return nullptr;
    }
};

markup::AttrElement* Element(std::uint32_t type, const std::string& id, const std::string& classes) {
    auto* element = new markup::AttrElement();
    element->SetTypeId(type);
    for (std::uint32_t a = 1; a <= 2; ++a) {
        auto attribute = std::make_unique<markup::Attribute>(a);
        attribute->value = (a == 1 ? id : classes).c_str();
        element->AddAttribute(std::move(attribute));
    }
    return element;
}

std::string Sheet(bool mixed) {
    std::string css;
    for (int i = 0; i < kRules; ++i) {
        const std::string n = std::to_string(i % 500);
        const std::string fill = "{ fill: #" + std::to_string(100000 + i) + " }\n";
        if (!mixed) {
            css += ".c" + n + fill;
            continue;
        }
        switch (i % 8) {
            case 0: css += "rect.c" + n + fill; break;
            case 1: css += "#r" + std::to_string(i * 7) + fill; break;
            case 2: css += "g.g" + n + " rect" + fill; break;
            case 3: css += ".g" + n + " > .c" + n + fill; break;
            case 4: css += "rect + rect.d" + n + fill; break;
            case 5: css += "rect ~ .c" + n + fill; break;
            case 6: css += "[class~=d" + n + "]" + fill; break;
            default: css += "g rect:first-child.c" + n + fill; break;
        }
    }
    return css;
}

template <class Collect>
void Match(benchmark::State& state, bool mixed) {
    Collect collect;
    CSSManager manager(Css());
    Factory factory;
    markup::DocTree tree(&factory, &manager);
    tree.SetDictionary(&Markup());
    manager.SetDocument(&tree);
    markup::AttrElement* root = Element(kG, "root", "");
    tree.AppendChild(root);
    std::vector<markup::AttrElement*> elements;
    for (int g = 0; g < kGroups; ++g) {
        markup::AttrElement* group = Element(kG, "g" + std::to_string(g), "g" + std::to_string(g % 500));
        root->AppendChild(group);
        elements.push_back(group);
        for (int r = 0; r < kRectsPerGroup; ++r) {
            const int n = g * kRectsPerGroup + r;
            markup::AttrElement* rect = Element(kRect, "r" + std::to_string(n),
                                                "c" + std::to_string(n % 500) + " d" + std::to_string(n % 450));
            group->AppendChild(rect);
            elements.push_back(rect);
        }
    }
    manager.AddStyleText(Sheet(mixed).c_str(), 0);
    std::uint64_t matched = 0;
    for (auto _ : state) {
        matched = 0;
        for (markup::AttrElement* element : elements) matched += collect(manager, element);
        benchmark::DoNotOptimize(matched);
    }
    state.counters["elements"] = static_cast<double>(elements.size());
    state.counters["rules_matched"] = static_cast<double>(matched);
}

// Each collects into one list, reused from element to element.
struct Declarations {
    markup::Vector<CSSDeclaration> out;
    std::uint64_t operator()(CSSManager& manager, markup::AttrElement* element) {
        manager.CollectSheetDeclarations(element, out);
        return out.Count();
    }
};

struct Values {
    std::vector<CSSAppliedDeclaration> out;
    std::uint64_t operator()(CSSManager& manager, markup::AttrElement* element) {
        manager.CollectMatchingValues(element, out);
        return out.size();
    }
};

void BM_CollectSheetDeclarations_Mixed(benchmark::State& state) {
    Match<Declarations>(state, true);
}
void BM_CollectSheetDeclarations_ClassesOnly(benchmark::State& state) {
    Match<Declarations>(state, false);
}
void BM_CollectMatchingValues_Mixed(benchmark::State& state) {
    Match<Values>(state, true);
}
void BM_CollectMatchingValues_ClassesOnly(benchmark::State& state) {
    Match<Values>(state, false);
}

BENCHMARK(BM_CollectSheetDeclarations_Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectSheetDeclarations_ClassesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectMatchingValues_Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectMatchingValues_ClassesOnly)->Unit(benchmark::kMillisecond);

void BM_ScanComment(benchmark::State& state, char fill) {
    const std::string text = "/*" + std::string(static_cast<std::size_t>(state.range(0)), fill) + "*/";
    markup::String css;
    css.Append(text.data(), static_cast<std::uint32_t>(text.size()));
    CSSTokenizer tokenizer;
    for (auto _ : state) {
        markup::Vector<CSSToken> tokens;
        tokenizer.Tokenize(css, 0, tokens);
        benchmark::DoNotOptimize(tokens.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK_CAPTURE(BM_ScanComment, nul_bytes, '\0')->RangeMultiplier(10)->Range(1000, 100000);
BENCHMARK_CAPTURE(BM_ScanComment, one_bytes, '\1')->RangeMultiplier(10)->Range(1000, 100000);

}  // namespace

BENCHMARK_MAIN();
