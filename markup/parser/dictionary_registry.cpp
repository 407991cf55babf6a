// DictionaryRegistry: the name table with its use counts, the default and
// CSS dictionaries, and the road from a DOCTYPE declaration to a dictionary.
#include "markup/parser/dictionary_registry.h"

#include <new>

#include "markup/faults.h"
#include "markup/url_mapper.h"
#include "platform/latin1_text.h"

namespace markup {

namespace {

// The entities every XML document may use without declaring them.
constexpr const char* kXmlEntities[][2] = {
    {"&quot;", "\""}, {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&apos;", "'"},
};

bool IsSvgName(const String& name) {
    return platform::lstrcmpiA(name.Text(), "SVG") == 0;
}

// A document type names a file in the dictionary folder only when the name
// cannot reach outside it.
bool NamesAFileInTheFolder(const String& name) {
    if (name.IsEmpty() || name == "." || name == "..") return false;
    for (std::uint32_t i = 0; i < name.Length(); ++i) {
        const char c = *name.CharPtrAt(i);
        if (c == '/' || c == '\\' || c == ':') return false;
    }
    return true;
}

}  // namespace

DictionaryRegistry::DictionaryRegistry() {
    Singleton<DictionaryRegistry>::CheckConstruction();
}

DictionaryRegistry::~DictionaryRegistry() = default;

void DictionaryRegistry::Init(const String& folder) {
    folder_ = folder;
    defaultPath_ = folder;
    defaultPath_ += kDefaultFile;
    String cssPath = folder;
    cssPath += CSSDictionary::kFileName;
    if (!css_) {
        css_ = std::make_unique<CSSDictionary>();
    } else if (css_->FileName() == cssPath && css_->Properties().EntryCount() > 0) {
        return;  // already the one of this folder
    }
    // Loaded in place: the CSS engine may hold the dictionary, and a file
    // that does not open must not leave the properties of another folder.
    css_->Properties().Clear();
    css_->Load(cssPath);
}

Dictionary* DictionaryRegistry::GetDefault() {
    if (defaultPath_.IsEmpty()) defaultPath_ = kDefaultFile;
    if (Dictionary* held = UseRegistered(kDefaultName)) return held;
    Dictionary* made = Register(kDefaultName, std::make_unique<Dictionary>());
    made->Load(defaultPath_, false);
    made->SetName(kDefaultName);
    return made;
}

Dictionary* DictionaryRegistry::CreateDictionary(const String& name, bool xmlEntities) {
    // A second dictionary under a registered name could never be found.
    if (Dictionary* held = UseRegistered(name)) return held;
    auto made = std::make_unique<Dictionary>();
    made->SetCaseSensitive(true);
    made->SetOpen(true);
    DictionaryEditor& editor = made->CreateEditor();
    // The elements allowed anywhere come from the default dictionary. It is
    // looked at, not used: nothing would give such a use back.
    if (const Entry* fallback = FindEntry(kDefaultName)) {
        auto anywhere = std::make_unique<ElementGroup>(ElementGroup::kAnywhere, String());
        std::uint32_t id = 0;
        for (std::uint32_t i = 0;
             fallback->dictionary->GroupMember(id, ElementGroup::kAnywhere, i) == kDict_Ok; ++i) {
            anywhere->AddMember(id);
        }
        made->AddGroup(std::move(anywhere));
    }
    if (xmlEntities || IsSvgName(name)) {
        for (const auto& entity : kXmlEntities) editor.AddEntity(entity[0], entity[1]);
    }
    made->SetName(name);
    return Register(name, std::move(made));
}

Dictionary* DictionaryRegistry::LoadForDoctype(const String& doctype, const String& baseURL,
                                               std::uint32_t& documentKind) {
    std::vector<String> words;
    if (!SplitDoctype(doctype, words)) return nullptr;
    const String name = words.size() > 1 ? words[1] : String();
    String publicId;
    String systemId;
    // "[" in the place of the external identifier: an internal subset with no
    // identifier before it.
    // The split blanks the "[" itself, so a subset with no identifier shows
    // as a third word that is no keyword.
    const bool subsetOnly = words.size() > 2 && words[2] != "SYSTEM" && words[2] != "PUBLIC" &&
                            !InternalSubset(doctype).IsEmpty();
    if (!subsetOnly && !(words.size() > 2 && words[2] == "[")) {
        const int result = ParseExternalId(publicId, systemId, words);
        if (result < 0 || static_cast<std::size_t>(result) > words.size()) return nullptr;
    }
    if (Dictionary* held = UseRegistered(name)) return held;

    if (NamesAFileInTheFolder(name)) {
        String file = folder_;
        file += name;
        file += ".dic";
        if (FileExists(file)) {
            Dictionary* loaded = Register(name, std::make_unique<Dictionary>());
            loaded->Load(file, false);
            loaded->SetName(name);
            return UseRegistered(name);  // a loaded file ends with two uses
        }
    }
    if (DoctypeKind(name, documentKind) != 0) {
        // The external DTD first; without one, the internal subset, when it
        // declares elements: a subset of entities alone (as drawing programs
        // write) would make a dictionary that knows no element, and the
        // tokenizer expands those entities itself.
        const String subset = InternalSubset(doctype);
        const bool declaresElements = subset.Find("<!ELEMENT") >= 0;
        if (std::unique_ptr<Dictionary> compiled =
                CompileForDoctype(publicId, systemId, declaresElements ? subset : String(), baseURL)) {
            return Register(name, std::move(compiled));
        }
    }
    Dictionary* open = CreateDictionary(name);
    open->SetOpen(true);
    return open;
}

void DictionaryRegistry::Release(const String& name) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (platform::lstrcmpA(entries_[i].name.Text(), name.Text()) == 0) {
            ReleaseAt(i);
            return;
        }
    }
}

void DictionaryRegistry::Release(const Dictionary* dictionary) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].dictionary.get() == dictionary) {
            ReleaseAt(i);
            return;
        }
    }
}

void DictionaryRegistry::ReleaseAt(std::size_t index) {
    Entry& entry = entries_[index];
    if (entry.uses > 0) {
        --entry.uses;
        return;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void DictionaryRegistry::ForgetDictionaries() {
    std::erase_if(entries_, [](const Entry& entry) {
        return platform::lstrcmpA(entry.name.Text(), kDefaultName) != 0;
    });
}

Dictionary* DictionaryRegistry::Find(const String& name) const {
    const Entry* entry = FindEntry(name);
    return entry ? entry->dictionary.get() : nullptr;
}

long DictionaryRegistry::UseCount(const String& name) const {
    const Entry* entry = FindEntry(name);
    return entry ? entry->uses : -1;
}

void DictionaryRegistry::SetDtdCompiler(DtdFileCompiler fromFile, DtdTextCompiler fromText) {
    compileFile_ = fromFile;
    compileText_ = fromText;
}

DictionaryRegistry::Entry* DictionaryRegistry::FindEntry(const String& name) const {
    for (const Entry& entry : entries_) {
        if (platform::lstrcmpA(entry.name.Text(), name.Text()) == 0) return const_cast<Entry*>(&entry);
    }
    return nullptr;
}

Dictionary* DictionaryRegistry::Register(const String& name, std::unique_ptr<Dictionary> dictionary) {
    Dictionary* held = dictionary.get();
    try {
        entries_.push_back(Entry{name, std::move(dictionary), 1});
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
    return held;
}

Dictionary* DictionaryRegistry::UseRegistered(const String& name) {
    Entry* entry = FindEntry(name);
    if (!entry) return nullptr;
    ++entry->uses;
    return entry->dictionary.get();
}

}  // namespace markup
