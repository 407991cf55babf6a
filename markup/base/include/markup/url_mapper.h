// The URL-to-local-folder mapping.
//
// Every document is read from a local file. The mapper keeps a table of
// servers, each a name and a local folder: a URL of a host is read from (and
// fetched into) a file under that host's folder, and a local file is turned
// back into a URL through the same table.
//
// Folders come in two forms. The Windows form (a drive "d:\site\" or a share
// "\\server\share\") uses backslashes and compares without regard to case.
// The POSIX form ("/home/user/site/") uses "/" and keeps its case, since the
// file systems it names are case-sensitive.
#pragma once

#include <cstdint>

#include "markup/containers.h"
#include "markup/singleton.h"
#include "markup/string.h"
#include "markup/url.h"

namespace markup {

// One server: a host name, or "Local." + a drive or share name, and the local
// folder that holds its files (ending in its separator).
class UMServer {
  public:
    UMServer(const String& name, const String& folder) : name(name), folder(folder) {}
    String name;
    String folder;
};

class URLMapper : public List<UMServer> {
  public:
    // Only through Instance(); raises IllegalUsageFault otherwise.
    URLMapper();
    ~URLMapper() override;

    static URLMapper& Instance() { return Singleton<URLMapper>::Instance(); }

    // Trims both, lower-cases the name (and a Windows folder), ends the folder
    // with its separator and inserts in name order. An existing entry of
    // that name is kept and returned instead.
    UMServer* AddServer(const String& name, const String& folder);
    UMServer* FindServerByName(const String& name) const;
    // A new entry for a host: its folder is the root folder followed by the
    // host without dots, created on disk when missing.
    UMServer* ServerForHost(const String& host);
    // The entry whose folder holds the path (the deepest one, on the path
    // with its dot segments resolved); with create, a new one made from the
    // path (asking the user unless quiet), never for a file system's root.
    UMServer* ServerForLocalPath(const String& path, bool create, bool quiet);

    // The local file for a URL; answers the entry used (null for "file:"
    // URLs and when no entry can be had).
    UMServer* URLToLocalPath(const URLSpec& url, String& out, bool addIndex);
    // The local file for a URL text met in a document of a host whose files
    // lie in baseFolder. False when the text is no usable URL. A relative
    // link of a document under the root folder stays inside its host's folder.
    bool Resolve(const String& urlText, const String& host, const String& baseFolder, String& out,
                 bool addIndex);
    // The URL for a local file, relative to baseFolder when it lies below it.
    void LocalPathToURL(String& out, const String& localPath, const String& baseFolder, bool create,
                        bool& isHttp);
    // Lets the user confirm or edit a new entry; true on OK with the edits.
    bool AskNewServer(String& name, String& folder, const String& path, void* parent);

    // Under this folder host folders are made: the user's cache folder plus
    // the module's own subfolder, unless set otherwise.
    const String& RootFolder() const { return rootFolder_; }
    void SetRootFolder(const String& folder);
    // The file name given to a directory URL; empty means "index.htm".
    const String& DefaultDocument() const { return defaultDocument_; }
    void SetDefaultDocument(const String& name) { defaultDocument_ = name; }
    // The last name made for a URL with a query.
    const String& QueryFileName() const { return queryFileName_; }

    // Forgets every entry.
    void RemoveAllServers();

  private:
    // The index where name stands or would stand; found tells which.
    std::uint32_t Search(const String& name, bool& found) const;
    // The entry with the deepest folder that holds the (resolved, folded)
    // path; null when none does.
    UMServer* ServerHolding(const String& path) const;
    // The folder a relative link in a document of baseFolder may not climb
    // above: the entry folder below the root that holds it, or the root;
    // empty for a folder outside the root.
    String LinkFloor(const String& baseFolder) const;

    String defaultDocument_;
    String queryFileName_;
    String rootFolder_;
    std::uint32_t reserved_ = 0;
    String spare_;
};

// Path helpers of the mapping.
bool FileExists(const String& path);
bool FindFileTimes(const String& path, std::uint32_t& low, std::uint32_t& high);
// A drive path, a network path, or a POSIX absolute path.
bool IsLocalPath(const String& text);
// The text parses as a URL that names a host other than this machine.
bool IsRelativeURL(const String& text);
// Splits at the last separator ("\" or "/"): no separator gives an empty
// folder and the whole text as the name.
void SplitPath(const String& path, String& folder, String& name);
// The path cut after its last separator; empty when it has none.
String StripFileName(const String& path);
String ConcatString(const String& a, const String& b);
String AppendChar(const String& text, char c);
// The target relative to the base's folder: common leading segments are
// dropped and "..", plus the separator, stands for each remaining segment of
// the base folder. False when the two share no leading segment.
bool RelativePath(const String& target, const String& base, String& out, char separator);

}  // namespace markup
