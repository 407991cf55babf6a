// The scale benchmark's documents. Each grows in one dimension only, so that
// the time and memory per tenfold show how that dimension costs.
#include "scale_inputs.h"

#include <string>

namespace bench {
namespace {

const char kHead[] =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
    "width=\"1000\" height=\"1000\">\n";

std::string N(long long i) {
    return std::to_string(i);
}

// Elements with attribute names of their own, as drawing programs write
// their namespaced extras.
std::string DistinctAttributes(long long n) {
    std::string s = kHead;
    for (long long i = 0; i < n; ++i) s += "<g a" + N(i) + "=\"1\"/>\n";
    return s + "</svg>\n";
}

std::string OneElementAttributes(long long n) {
    std::string s = std::string(kHead) + "<g";
    for (long long i = 0; i < n; ++i) s += " a" + N(i) + "=\"1\"";
    return s + "/>\n</svg>\n";
}

// A plain drawing of n shapes of four kinds.
std::string Elements(long long n) {
    std::string s = kHead;
    for (long long i = 0; i < n; ++i) {
        const std::string x = N(i % 990), y = N((i / 990) % 990);
        switch (i % 4) {
            case 0:
                s += "<rect x=\"" + x + "\" y=\"" + y + "\" width=\"10\" height=\"10\" fill=\"#3366cc\"/>\n";
                break;
            case 1:
                s += "<circle cx=\"" + x + "\" cy=\"" + y + "\" r=\"5\" style=\"fill:#c63;stroke:black\"/>\n";
                break;
            case 2:
                s += "<path d=\"M" + x + " " + y + " l10 0 l0 10 z\" fill=\"red\"/>\n";
                break;
            default:
                s += "<g transform=\"translate(1 1)\"><line x2=\"" + x + "\" y2=\"" + y + "\" stroke=\"blue\"/></g>\n";
        }
    }
    return s + "</svg>\n";
}

std::string StyleBlanks(long long n) {
    return std::string(kHead) + "<style>" + std::string(static_cast<size_t>(n), ' ') +
           "rect{fill:red}</style><rect width=\"5\" height=\"5\"/></svg>\n";
}

std::string LongClassName(long long n) {
    const std::string name(static_cast<size_t>(n), 'c');
    return std::string(kHead) + "<style>." + name + "{fill:red}</style><rect class=\"" + name +
           "\" width=\"5\" height=\"5\"/></svg>\n";
}

// A sheet cut into n pieces by comments, each its own text node.
std::string StyleCutByComments(long long n) {
    std::string s = std::string(kHead) + "<style>";
    for (long long i = 0; i < n; ++i) s += "rect<!---->";
    return s + "{fill:red}</style><rect width=\"5\" height=\"5\"/></svg>\n";
}

std::string UnclosedUrls(long long n) {
    std::string s = std::string(kHead) + "<style>";
    for (long long i = 0; i < n; ++i) s += "a{fill:url(#g\n";
    return s + "</style><rect width=\"5\" height=\"5\"/></svg>\n";
}

std::string Declarations(long long n) {
    std::string s = std::string(kHead) + "<rect width=\"5\" height=\"5\" style=\"";
    for (long long i = 0; i < n; ++i) s += "fill:#" + std::string(i % 2 ? "f00" : "0f0") + ";";
    return s + "\"/></svg>\n";
}

std::string Selectors(long long n) {
    std::string s = std::string(kHead) + "<style>";
    for (long long i = 0; i < n; ++i) s += (i ? ",.c" : ".c") + N(i);
    return s + "{fill:red}</style><rect class=\"c1\" width=\"5\" height=\"5\"/></svg>\n";
}

std::string DashValues(long long n) {
    std::string s = std::string(kHead) + "<line x2=\"900\" stroke=\"black\" stroke-dasharray=\"";
    for (long long i = 0; i < n; ++i) s += (i ? ",1" : "1");
    return s + "\"/></svg>\n";
}

std::string GradientReferences(long long n) {
    std::string s = std::string(kHead) +
                    "<linearGradient id=\"g\"><stop offset=\"0\" stop-color=\"red\"/>"
                    "<stop offset=\"1\" stop-color=\"blue\"/></linearGradient>\n";
    for (long long i = 0; i < n; ++i) {
        s += "<rect x=\"" + N(i % 990) + "\" width=\"5\" height=\"5\" style=\"fill:url(#g)\"/>\n";
    }
    return s + "</svg>\n";
}

// A pattern of n tiles over one rectangle.
std::string PatternTiles(long long n) {
    long long side = 1;
    while (side * side < n) ++side;
    const std::string tile = std::to_string(1000.0 / static_cast<double>(side));
    return std::string(kHead) + "<pattern id=\"p\" width=\"" + tile + "\" height=\"" + tile +
           "\" patternUnits=\"userSpaceOnUse\"><rect width=\"" + tile + "\" height=\"" + tile +
           "\" fill=\"red\"/></pattern><rect width=\"1000\" height=\"1000\" fill=\"url(#p)\"/></svg>\n";
}

// Levels of ten `use` copies of the level below: n rectangles drawn.
std::string NestedUses(long long n) {
    std::string s = std::string(kHead) + "<defs><rect id=\"l0\" width=\"1\" height=\"1\"/>\n";
    int levels = 0;
    for (long long k = 1; k < n; k *= 10) ++levels;
    for (int level = 1; level <= levels; ++level) {
        s += "<g id=\"l" + N(level) + "\">";
        for (int i = 0; i < 10; ++i) s += "<use xlink:href=\"#l" + N(level - 1) + "\" x=\"" + N(i) + "\"/>";
        s += "</g>\n";
    }
    return s + "</defs><use xlink:href=\"#l" + N(levels) + "\"/></svg>\n";
}

// n references to one internal-subset entity of 100 bytes.
std::string EntityUses(long long n) {
    std::string s = "<!DOCTYPE svg [<!ENTITY e \"" + std::string(100, 'e') + "\">]>\n" + kHead + "<text>";
    for (long long i = 0; i < n; ++i) s += "&e;";
    return s + "</text></svg>\n";
}

// Distinct rules as drawing programs and chart libraries write them: class,
// id, descendant, child and pseudo-class selectors, colours in every form,
// lengths, lists and shorthands, several declarations a rule.
std::string DenseRule(long long i) {
    const std::string n = N(i);
    switch (i % 6) {
        case 0:
            return ".c" + n + "{fill:#1a2b3c;stroke:#000;stroke-width:2px;opacity:.5}\n";
        case 1:
            return "#id" + n +
                   " rect{fill:none;stroke:rgb(12,34,56);stroke-dasharray:4 2 1;stroke-linecap:round}\n";
        case 2:
            return "g.a" + n + " > path.b" + n + "{font:italic bold 12px/1.2 serif;fill-opacity:0.8}\n";
        case 3:
            return ".st" + n +
                   "{font-family:'Helvetica Neue',Arial,sans-serif;font-size:11px;fill:#333333}\n";
        case 4:
            return "text.t" + n + ":first-child,.u" + n +
                   "{text-anchor:middle;font-weight:700;stroke:#fff !important}\n";
        default:
            return ".hc-series-" + n +
                   " .hc-point{stroke-width:1;stroke:#ffffff;fill-opacity:.75;visibility:visible}\n";
    }
}

// A few elements, one for each kind of rule: the first six rules.
const char kDenseRuleUsers[] =
    "<rect class=\"c0\" width=\"5\" height=\"5\"/><g id=\"id1\"><rect width=\"5\" height=\"5\"/></g>"
    "<g class=\"a2\"><path class=\"b2\" d=\"M0 0h5v5z\"/></g><text class=\"st3\" y=\"20\">x</text>"
    "<text class=\"t4\" y=\"40\">y</text><g class=\"hc-series-5\"><rect class=\"hc-point\" width=\"5\" "
    "height=\"5\"/></g></svg>\n";

std::string DenseSheet(const std::string& css) {
    return std::string(kHead) + "<style>" + css + "</style>" + kDenseRuleUsers;
}

// n bytes of such rules (to the end of the rule that reaches n).
std::string DenseRules(long long n) {
    std::string css;
    css.reserve(static_cast<size_t>(n) + 200);
    for (long long i = 0; static_cast<long long>(css.size()) < n; ++i) css += DenseRule(i);
    return DenseSheet(css);
}

// The same drawing with only the rules its elements use, so that what the
// styles draw (fonts, say) costs the same on both sides.
std::string DenseRulesUsed(long long) {
    std::string css;
    for (long long i = 0; i < 6; ++i) css += DenseRule(i);
    return DenseSheet(css);
}

// An element (in a group where the rule needs one) that the rule matches.
std::string DenseRuleUser(long long i) {
    const std::string n = N(i);
    const std::string box =
        " x=\"" + N(i % 990) + "\" y=\"" + N((i / 990) % 990) + "\" width=\"5\" height=\"5\"/>";
    switch (i % 6) {
        case 0:
            return "<rect class=\"c" + n + "\"" + box + "\n";
        case 1:
            return "<g id=\"id" + n + "\"><rect" + box + "</g>\n";
        case 2:
            return "<g class=\"a" + n + "\"><path class=\"b" + n + "\" d=\"M0 0h5v5z\"/></g>\n";
        case 3:
            return "<rect class=\"st" + n + "\"" + box + "\n";
        case 4:
            return "<rect class=\"u" + n + "\"" + box + "\n";
        default:
            return "<g class=\"hc-series-" + n + "\"><rect class=\"hc-point\"" + box + "</g>\n";
    }
}

// n bytes of dense rules (to the end of the rule that reaches n), each
// matched by an element of its own, as in drawings whose every class is
// used; the base has the same elements and only the first six rules.
std::string DenseRulesMatched(long long n, bool all) {
    std::string css, users;
    long long bytes = 0;
    for (long long i = 0; bytes < n; ++i) {
        const std::string rule = DenseRule(i);
        bytes += static_cast<long long>(rule.size());
        if (all || i < 6) css += rule;
        users += DenseRuleUser(i);
    }
    return std::string(kHead) + "<style>" + css + "</style>" + users + "</svg>\n";
}

std::string DenseRulesAllMatched(long long n) {
    return DenseRulesMatched(n, true);
}

std::string DenseRulesAllMatchedBase(long long n) {
    return DenseRulesMatched(n, false);
}

// Many children read together: spans of one text, stops of one gradient,
// shapes of one clip path.
std::string TextSpans(long long n) {
    std::string s = std::string(kHead) + "<text x=\"1\" y=\"10\">";
    for (long long i = 0; i < n; ++i) s += "<tspan>a</tspan>";
    return s + "</text></svg>\n";
}

std::string GradientStops(long long n) {
    std::string s = std::string(kHead) + "<linearGradient id=\"g\">";
    for (long long i = 0; i < n; ++i)
        s += "<stop offset=\"" + N(i % 100) + "%\" stop-color=\"#" + N(100000 + i % 800000) + "\"/>";
    return s + "</linearGradient><rect width=\"100\" height=\"100\" fill=\"url(#g)\"/></svg>\n";
}

std::string ClipShapes(long long n) {
    std::string s = std::string(kHead) + "<clipPath id=\"c\">";
    for (long long i = 0; i < n; ++i) s += "<rect x=\"" + N(i % 990) + "\" width=\"1\" height=\"1\"/>";
    return s + "</clipPath><rect width=\"1000\" height=\"1000\" clip-path=\"url(#c)\"/></svg>\n";
}

}  // namespace

const std::vector<ScaleInput>& ScaleInputs() {
    static const std::vector<ScaleInput> inputs = {
        {"elements", "elements", Elements},
        {"distinct attribute names", "elements", DistinctAttributes},
        {"attributes on one element", "attributes", OneElementAttributes},
        {"blanks in a style sheet", "bytes of CSS", StyleBlanks},
        {"one long class name", "bytes of CSS", LongClassName},
        {"style text cut by comments", "pieces", StyleCutByComments},
        {"unclosed url(", "rules", UnclosedUrls},
        {"declarations in one style", "declarations", Declarations},
        {"selector group members", "selectors", Selectors},
        {"stroke-dasharray values", "values", DashValues},
        {"url(#id) references", "references", GradientReferences},
        {"pattern tiles", "tiles", PatternTiles},
        {"elements drawn through use", "instances", NestedUses},
        {"entity references", "references", EntityUses},
        {"dense rules", "bytes of CSS", DenseRules, DenseRulesUsed},
        {"dense rules, all matched", "bytes of CSS", DenseRulesAllMatched, DenseRulesAllMatchedBase},
        {"spans in one text", "spans", TextSpans},
        {"stops in one gradient", "stops", GradientStops},
        {"shapes in one clip path", "shapes", ClipShapes},
    };
    return inputs;
}

}  // namespace bench
