// The DOCTYPE road of the registry: splitting the declaration, its external
// identifier, and the DTD the identifier names.
#include "markup/parser/dictionary_registry.h"

#include <string>

#include "markup/url.h"
#include "markup/url_mapper.h"
#include "markup/web_fetch.h"
#include "platform/latin1_text.h"

namespace markup {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const String& WordAt(const std::vector<String>& words, std::size_t index) {
    static const String kNone{};
    return index < words.size() ? words[index] : kNone;
}

String FromBytes(const std::string& bytes, std::size_t start, std::size_t count) {
    String word;
    word.Append(bytes.data() + start, static_cast<std::uint32_t>(count));
    return word;
}

}  // namespace

int DictionaryRegistry::DoctypeKind(const String& name, std::uint32_t& kind) {
    if (platform::lstrcmpiA(name.Text(), "SVG") == 0) {
        kind = kDocumentSvg;
        return 0;
    }
    if (name == "XML") kind = kDocumentXml;
    return 1;
}

bool DictionaryRegistry::SplitDoctype(const String& text, std::vector<String>& words) {
    words.clear();
    std::string t(text.Text(), text.Length());
    if (!t.empty()) t.back() = ' ';
    const std::size_t bracket = t.find('[');
    if (bracket != std::string::npos) {
        t[bracket] = ' ';
        if (bracket + 1 < t.size()) t[bracket + 1] = ' ';
    }
    std::size_t i = 0;
    while (i < t.size()) {
        if (IsBlank(t[i])) {
            ++i;
            continue;
        }
        // XML writes its literals in either quote.
        if (t[i] == '"' || t[i] == '\'') {
            const std::size_t close = t.find(t[i], i + 1);
            if (close == std::string::npos) {
                words.clear();
                return false;
            }
            words.push_back(FromBytes(t, i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        std::size_t end = i;
        while (end < t.size() && !IsBlank(t[end])) ++end;
        words.push_back(FromBytes(t, i, end - i));
        i = end;
    }
    return true;
}

String DictionaryRegistry::InternalSubset(const String& doctype) {
    const std::int32_t open = doctype.Find('[');
    const std::int32_t close = doctype.ReverseFind(']');
    if (open < 0 || close <= open) return String();
    return doctype.Mid(static_cast<std::uint32_t>(open + 1), static_cast<std::uint32_t>(close - open - 1));
}

int DictionaryRegistry::ParseExternalId(String& publicId, String& systemId, const std::vector<String>& words) {
    const String& keyword = WordAt(words, 2);
    if (keyword == "SYSTEM") {
        systemId = WordAt(words, 3);
        return 4;
    }
    if (keyword == "PUBLIC") {
        publicId = WordAt(words, 3);
        if (words.size() > 4) systemId = WordAt(words, 4);
        return 5;
    }
    return -1;
}

std::unique_ptr<Dictionary> DictionaryRegistry::CompileForDoctype(const String& publicId, const String& systemId,
                                                                  const String& source, const String& baseURL) {
    std::unique_ptr<Dictionary> compiled = OpenDtdByURL(systemId, baseURL);
    if (!compiled && compileText_ && !source.IsEmpty()) compiled = compileText_(source);
    if (compiled) compiled->SetName(publicId);
    return compiled;
}

std::unique_ptr<Dictionary> DictionaryRegistry::OpenDtdByURL(const String& systemId, const String& baseURL) {
    // Without a compiler a DTD is of no use: nothing is fetched for it.
    if (!compileFile_ || systemId.IsEmpty()) return nullptr;
    URLMapper& mapper = URLMapper::Instance();
    String local;
    if (IsRelativeURL(systemId)) {
        // A DTD on a host: fetched once into the file the mapping gives it.
        URLSpec url;
        url.Parse(systemId);
        if (!mapper.Resolve(systemId, url.HostRef(), mapper.RootFolder(), local, false) || local.IsEmpty()) {
            return nullptr;
        }
        if (!FetchIfMissing(systemId, local, kWebSessionDictionary)) return nullptr;
        // The fetched copy lies in the mapper's cache; it is bounded as a local one.
        if (!Admit(local, {mapper.RootFolder()})) return nullptr;
    } else {
        // A DTD beside the document, or at a local path: read where it lies,
        // when it lies where the document may reach.
        const String folder = StripFileName(baseURL);
        if (!mapper.Resolve(systemId, String(), folder, local, false) || local.IsEmpty()) return nullptr;
        // A document named without a folder lies in the working directory.
        const String documentFolder = folder.IsEmpty() && !baseURL.IsEmpty() ? String("./") : folder;
        if (!Admit(local, {documentFolder, folder_})) return nullptr;
    }
    return compileFile_(local);
}

bool DictionaryRegistry::Admit(const String& local, const std::vector<String>& folders) {
    const LinkedFileCheck check = CheckLinkedFile(local, folders);
    if (check == LinkedFileCheck::kReadable) return true;
    // A DTD that is simply not there is no refusal worth a word.
    if (check != LinkedFileCheck::kMissing) {
        refusal_ = check;
        refusedPath_ = local;
    }
    return false;
}

LinkedFileCheck DictionaryRegistry::TakeRefusal(String* path) {
    const LinkedFileCheck refusal = refusal_;
    if (path) *path = refusedPath_;
    refusal_ = LinkedFileCheck::kReadable;
    refusedPath_ = String();
    return refusal;
}

}  // namespace markup
