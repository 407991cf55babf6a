// A document parsed from a file as the import parses it (the XML front end
// over a fresh registry): its tree dump followed by its diagnostics.
#pragma once

#include <string>

#include "markup/parser/dom/dom_document.h"
#include "markup/parser/xml_parser.h"
#include "parse_fixtures.h"
#include "platform/messages.h"

namespace markup_test {

inline std::string ParseFileDump(const std::string& text) {
    FreshRegistry registry;
    platform::RecordingMessageSink messages;
    platform::SetMessageSink(&messages);
    markup::WXMLParser_WepImp parser;
    parser.Init((registry.folder.Path() + "/").c_str());
    const std::string file = registry.folder.Write("doc.svg", text);
    const markup::WDOMHandle document = parser.Parse(file.c_str(), nullptr);
    platform::SetMessageSink(nullptr);
    auto* imp = dynamic_cast<markup::WDOMDocument_WepImp*>(document.Get());
    if (!imp) return "no document";
    std::string out = markup::DumpTree(*imp->GetTree());
    if (auto* d = dynamic_cast<const markup::ParseDiagnostics*>(imp->GetTree()->Option())) {
        out += markup::DumpDiagnostics(d->errors);
    }
    return out;
}

}  // namespace markup_test
