// The text dump of markup and CSS dictionaries.
#include "markup/parser/dictionary_dump.h"

#include <cstdio>

#include "markup/parser/css_dictionary.h"
#include "markup/parser/dictionary.h"

namespace markup {

namespace {

std::string Quote(const String& text) {
    std::string out = "\"";
    for (std::uint32_t i = 0; i < text.Length(); ++i) {
        const auto c = static_cast<unsigned char>(text.Text()[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Number(std::int64_t n) {
    return std::to_string(n);
}

std::string Ids(const IdList& ids) {
    std::string out = "[";
    for (std::uint32_t i = 0; i < ids.Count(); ++i) {
        if (i) out += ' ';
        out += Number(ids[i]);
    }
    return out + "]";
}

std::string OccurrenceSuffix(std::uint32_t occurrence) {
    switch (occurrence) {
        case kOccurOnce:
            return "";
        case kOccurOptional:
            return "?";
        case kOccurAny:
            return "*";
        case kOccurOneOrMore:
            return "+";
        default:
            return "{" + Number(occurrence) + "}";
    }
}

std::string Marker(std::uint32_t connector) {
    switch (connector) {
        case kConnectAll:
            return "&";
        case kConnectChoice:
            return "|";
        case kConnectSequence:
            return ",";
        default:
            return "?" + Number(connector) + "?";
    }
}

std::string Separator(std::uint32_t connector) {
    return connector == kConnectSequence ? ", " : " " + Marker(connector) + " ";
}

template <class T, class Line>
void DumpEntries(std::string& out, const CrossReference<T>& entries, Line line) {
    for (std::uint32_t i = 0; i < entries.EntryCount(); ++i) {
        out += "  pair " + Number(entries.PairAt(i)->key) + " -> " + Number(entries.PairAt(i)->index) + "\n";
    }
    for (std::uint32_t i = 0; i < entries.EntryCount(); ++i) out += "  " + line(*entries.At(i)) + "\n";
}

}  // namespace

std::string DumpContentModel(const ContentSymbol& symbol) {
    const std::string occurrence = OccurrenceSuffix(symbol.OccurrenceCode());
    switch (symbol.Kind()) {
        case kSymbolConnective: {
            const auto& connective = static_cast<const LogicalConnective&>(symbol);
            const std::string separator = Separator(connective.ConnectorCode());
            // With fewer than two children the connector shows in front.
            std::string out = connective.ChildCount() < 2 ? "(" + Marker(connective.ConnectorCode()) : "(";
            for (std::uint32_t i = 0; i < connective.ChildCount(); ++i) {
                if (i) out += separator;
                out += DumpContentModel(*connective.ChildAt(i));
            }
            return out + ")" + occurrence;
        }
        case kSymbolGroup:
            return "%" + Number(static_cast<const GroupSymbol&>(symbol).GroupClass()) + occurrence;
        case kSymbolElement:
            return "#" + Number(static_cast<const ElementSymbol&>(symbol).ElementId()) + occurrence;
        case kSymbolText: {
            const std::uint8_t flag = static_cast<const PCDataSymbol&>(symbol).Flag();
            return "#PCDATA" + (flag == 1 ? std::string() : "[" + Number(flag) + "]") + occurrence;
        }
        default:
            return "BASE" + occurrence;
    }
}

std::string DumpAttributeType(const AttributeType& type) {
    std::string out;
    if (const auto* group = dynamic_cast<const AttributeTypeGroup*>(&type)) {
        out += "group default " + Number(group->DefaultIndex()) + " {";
        for (std::uint32_t i = 0; i < group->PairCount(); ++i) {
            const AttributeTypeGroup::ValueUserPair& pair = *group->PairAt(i);
            out += (i ? "; " : " ") + Number(pair.valueId) + " " + Quote(pair.value) + "=" +
                   Number(pair.userValue);
            if (!pair.userText.IsEmpty()) out += " " + Quote(pair.userText);
        }
        out += " }";
    }
    if (const auto* formatted = dynamic_cast<const AttributeTypeFormatted*>(&type)) {
        if (!out.empty()) out += " ";
        out += "formats " + Ids(formatted->Formats()) + " " + Quote(formatted->FormatText());
    }
    return out;
}

std::string DumpDictionary(const Dictionary& d) {
    std::string out = "dictionary " + Quote(d.Name()) + " case-sensitive " + Number(d.CaseSensitive()) +
                      " open " + Number(d.IsOpen()) + "\n";
    out += "header " + Number(d.Header(0)) + " " + Number(d.Header(1)) + " " + Number(d.Header(2)) + " " +
           Number(d.Header(3)) + "\n";
    out += "entities " + Number(d.Entities().Count()) + "\n";
    for (std::uint32_t i = 0; i < d.Entities().Count(); ++i) {
        const StringEntry& e = *d.Entities().EntryAt(i);
        out += "  " + Quote(e.name) + " " + Quote(e.text) + " code " + Number(e.code) + " valid " +
               Number(e.valid) + "\n";
    }
    out += "groups " + Number(static_cast<std::int64_t>(d.Groups().size())) + "\n";
    for (const auto& g : d.Groups()) {
        out += "  group " + Number(g->GroupClass()) + " " + Quote(g->Name()) + " " + Ids(g->Members()) + "\n";
    }
    out += "elements " + Number(d.Elements().EntryCount()) + "\n";
    DumpEntries(out, d.Elements(), [](const ElementDef& e) {
        std::string line = "element " + Number(e.Id()) + " " + Quote(e.Name()) + " " + Quote(e.SecondName()) +
                           " flags " + Number(e.Flag(0)) + " " + Number(e.Flag(1)) + " " + Number(e.Flag(2)) +
                           " word " + Number(e.Word()) + " attributes " + Ids(e.Attributes());
        line += " model " + (e.Model() ? DumpContentModel(*e.Model()) : std::string("none"));
        line += " children " + Ids(e.AllowedChildren()) + " from-model " + Number(e.ModelIdCount());
        line += " include " + Ids(e.Inclusions()) + " exclude " + Ids(e.Exclusions());
        return line;
    });
    out += "attributes " + Number(d.Attributes().EntryCount()) + "\n";
    DumpEntries(out, d.Attributes(), [](const HTMLAttributeDef& a) {
        return "attribute " + Number(a.Id()) + " " + Quote(a.Name()) + " " + Quote(a.SecondName()) +
               " default-kind " + Number(a.DefaultKind()) + " declared " + Number(a.DeclaredType()) +
               " type " +
               (a.Type() ? Number(a.Type()->Kind()) + " " + DumpAttributeType(*a.Type())
                         : std::string("none"));
    });
    out += "values " + Number(static_cast<std::int64_t>(d.Values().size())) + "\n";
    for (const auto& v : d.Values()) {
        out += "  value " + Number(v->Id()) + " " + Quote(v->Name()) + " " + Quote(v->Text()) + "\n";
    }
    return out;
}

std::string DumpCSSDictionary(const CSSDictionary& d) {
    std::string out = "css " + Quote(d.Name()) + " header " + Number(d.HeaderWord()) + "\n";
    out += "properties " + Number(d.Properties().EntryCount()) + "\n";
    DumpEntries(out, d.Properties(), [](const CSSAttributeDef& p) {
        return "property " + Number(p.Id()) + " " + Quote(p.Name()) + " " + Quote(p.SecondName()) + " A " +
               Number(p.WordA()) + " words " + Ids(p.DefinitionWords()) + " flag-A " + Number(p.FlagA()) +
               " B " + Number(p.WordB()) + " flag-B " + Number(p.FlagB()) + " type " +
               (p.Type() ? Number(p.Type()->Kind()) + " " + DumpAttributeType(*p.Type())
                         : std::string("none"));
    });
    return out;
}

}  // namespace markup
