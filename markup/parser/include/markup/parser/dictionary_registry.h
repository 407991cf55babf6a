// DictionaryRegistry: which dictionary a document is parsed with.
//
// One process-wide registry holds the dictionaries by name, each with a use
// count, knows the dictionary folder (the default dictionary "html.dic" and
// the files named after document types lie there) and holds the CSS
// property dictionary. When a document's DOCTYPE declaration is met the
// registry maps it to a dictionary: one already registered under the
// document type's name, a ".dic" file of that name, a DTD fetched through
// the external identifier and compiled, or an empty open dictionary.
//
// Use counts: registering a new name gives it a count of 1, registering it
// again adds 1; a release takes 1 away, and the release that finds the count
// already at 0 destroys the dictionary. A name registered once thus survives
// one release and goes at the second.
//
// The DTD compiler is reached through two hooks installed at start-up; until
// they are, compiling answers no dictionary and the registry takes its other
// branches.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "markup/linked_file.h"
#include "markup/parser/css_dictionary.h"
#include "markup/parser/dictionary.h"
#include "markup/singleton.h"
#include "markup/string.h"

namespace markup {

// The DTD compiler's two entries: a DTD file by path, a DTD text. Each
// answers the compiled dictionary, or null.
using DtdFileCompiler = std::unique_ptr<Dictionary> (*)(const String& path);
using DtdTextCompiler = std::unique_ptr<Dictionary> (*)(const String& text);

// Document kinds the DOCTYPE loader reports.
enum DocumentKind : std::uint32_t {
    kDocumentHtml = 2,
    kDocumentXml = 4,
    kDocumentSvg = 7,
    kDocumentServerPage = 10,
};

class DictionaryRegistry {
  public:
    // The name of the default dictionary, and its file in the folder.
    static constexpr const char* kDefaultName = "Default";
    static constexpr const char* kDefaultFile = "html.dic";

    // Raises IllegalUsageFault unless made through Instance().
    DictionaryRegistry();
    ~DictionaryRegistry();
    DictionaryRegistry(const DictionaryRegistry&) = delete;
    DictionaryRegistry& operator=(const DictionaryRegistry&) = delete;

    // Made on first use; MemoryAllocationFault when it cannot be.
    static DictionaryRegistry& Instance() { return Singleton<DictionaryRegistry>::Instance(); }

    // The dictionary folder (ending in its separator, or empty for the
    // working directory): the default dictionary becomes its "html.dic" and
    // the CSS dictionary is loaded from its "CSS.dic". A CSS dictionary
    // already held is loaded again in place, so pointers to it stay good.
    void Init(const String& folder);
    // The registered "Default" with one more use; on the first call it is
    // made and loaded from the default path (the load status is not used).
    Dictionary* GetDefault();
    // A new open, case-sensitive dictionary registered under the name, with
    // the members of the default dictionary's group 23 when there is one and,
    // for "SVG" in any case or when xmlEntities is set, the five XML
    // entities. A name already registered answers its dictionary with one
    // more use.
    Dictionary* CreateDictionary(const String& name, bool xmlEntities = false);
    // The dictionary for a DOCTYPE declaration as the tokenizer scanned it;
    // null when the declaration gives no usable document type (the caller
    // keeps its dictionary). documentKind may be set (kDocumentXml).
    Dictionary* LoadForDoctype(const String& doctype, const String& baseURL, std::uint32_t& documentKind);
    // One use less; the release that finds no use left destroys the
    // dictionary. A name not registered is ignored.
    void Release(const String& name);
    // The same for the entry holding this dictionary.
    void Release(const Dictionary* dictionary);

    // Destroys every registered dictionary but the default one, whatever
    // its uses; keeps the folder and the CSS dictionary. What documents
    // taught (the names an open dictionary learned, the dictionaries of
    // their document types) is forgotten, as in a process that parsed
    // none; the default dictionary, which no document changes, stays
    // loaded. No dictionary may be in use.
    void ForgetDictionaries();

    // Null when the name is not registered.
    Dictionary* Find(const String& name) const;
    // The use count; -1 when the name is not registered.
    long UseCount(const String& name) const;

    // The CSS property dictionary, made and loaded on first use.
    CSSDictionary* CSS() { return CSSDictionary::Get(css_); }

    const String& Folder() const { return folder_; }
    // "html.dic" in the folder once Init ran, or as GetDefault left it.
    const String& DefaultPath() const { return defaultPath_; }

    // Connects the DTD compiler; null hooks disconnect it.
    void SetDtdCompiler(DtdFileCompiler fromFile, DtdTextCompiler fromText);

    // The parts of the DOCTYPE road, each usable on its own.
    //
    // 0 for "SVG" in any case (kind := kDocumentSvg); 1 otherwise, with kind
    // := kDocumentXml for "XML".
    static int DoctypeKind(const String& name, std::uint32_t& kind);
    // The declaration's words: the last character and the first "[" with the
    // character after it count as blanks; a word that begins with a quote
    // runs to the same quote (both dropped, blanks kept), any other to the
    // next blank. False, with no words, for a quote never closed.
    static bool SplitDoctype(const String& text, std::vector<String>& words);
    // Word 2 "SYSTEM": system id := word 3, answer 4. "PUBLIC": public id :=
    // word 3 and system id := word 4 when there are more than four words,
    // answer 5. Anything else: -1. A missing word reads as empty.
    static int ParseExternalId(String& publicId, String& systemId, const std::vector<String>& words);
    // The text between the declaration's first "[" and its last "]"; empty
    // when it has no internal subset.
    static String InternalSubset(const String& doctype);
    // The dictionary compiled from the DTD the system id names, else from the
    // source text (LoadForDoctype passes the internal subset); named with
    // the public id.
    std::unique_ptr<Dictionary> CompileForDoctype(const String& publicId, const String& systemId,
                                                  const String& source, const String& baseURL);
    // The dictionary of the DTD at a system id. One that names a host is
    // fetched into the local file the URL mapper gives it, unless that file
    // is there already; any other is resolved against the base (a document's
    // local path or its folder) and read where it lies, only when it is a
    // regular file of at most 16 MB within the document's folder or the
    // dictionary folder; a refused file is never opened, and the refusal is
    // kept for TakeRefusal.
    std::unique_ptr<Dictionary> OpenDtdByURL(const String& systemId, const String& baseURL);
    // Why the last external DTD was refused, and the path refused; kReadable
    // when none was since the last call.
    LinkedFileCheck TakeRefusal(String* path = nullptr);

  private:
    struct Entry {
        String name;
        std::unique_ptr<Dictionary> dictionary;
        long uses = 1;
    };

    Entry* FindEntry(const String& name) const;
    // Appends a new entry (count 1) and answers the dictionary.
    Dictionary* Register(const String& name, std::unique_ptr<Dictionary> dictionary);
    void ReleaseAt(std::size_t index);
    // Whether the local file may be compiled; a refusal is kept.
    bool Admit(const String& local, const std::vector<String>& folders);
    // The registered dictionary of the name with one more use, else null.
    Dictionary* UseRegistered(const String& name);

    std::unique_ptr<CSSDictionary> css_;
    std::vector<Entry> entries_;
    String defaultPath_;
    String folder_;
    DtdFileCompiler compileFile_ = nullptr;
    DtdTextCompiler compileText_ = nullptr;
    LinkedFileCheck refusal_ = LinkedFileCheck::kReadable;
    String refusedPath_;
};

}  // namespace markup
