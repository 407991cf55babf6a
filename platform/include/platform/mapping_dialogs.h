// The dialogs and message boxes of the URL-to-folder mapping.
//
// The engine keeps the dialogs' rules (what OK accepts, what browsing
// changes); this layer only shows them and reports what the user did. With
// no user interface set, the headless default accepts every proposal.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace platform {

// One thing the user does in the server dialog.
struct ServerDialogAction {
    enum Kind { kOk, kCancel, kBrowse, kSetName, kSetFolder };
    Kind kind;
    std::string text;  // for kSetName and kSetFolder
};

// Message-box styles the engine uses.
enum MessageBoxStyle : unsigned {
    kMessageOk = 0x00,
    kMessageIconExclamation = 0x30,
};

class MappingDialogs {
  public:
    virtual ~MappingDialogs() = default;

    // The server dialog opens with its prompt and the proposed name and
    // folder; the engine then asks for actions until it closes the dialog.
    virtual void OpenServerDialog(const std::string& prompt, const std::string& name,
                                  const std::string& folder) = 0;
    virtual ServerDialogAction NextServerDialogAction(const std::string& name, const std::string& folder) = 0;
    // After a refused OK: the folder field gets the focus, its text selected.
    virtual void FocusFolderField() = 0;
    virtual void CloseServerDialog() = 0;

    // The folder browser opens in a folder; true with the chosen file's path
    // when the user accepts.
    virtual bool BrowseForFolder(const std::string& startFolder, std::string& chosenFile) = 0;

    // Answers the button pressed (1 for OK).
    virtual int MessageBox(const std::string& text, unsigned style) = 0;
};

// Accepts what is proposed: OK in the server dialog (cancel once OK has been
// refused), the start folder in the browser, OK in every message box.
class HeadlessMappingDialogs : public MappingDialogs {
  public:
    void OpenServerDialog(const std::string&, const std::string&, const std::string&) override;
    ServerDialogAction NextServerDialogAction(const std::string&, const std::string&) override;
    void FocusFolderField() override;
    void CloseServerDialog() override {}
    bool BrowseForFolder(const std::string& startFolder, std::string& chosenFile) override;
    int MessageBox(const std::string&, unsigned) override { return 1; }

  private:
    bool refused_ = false;
};

// Plays a script of user actions and records what the engine showed.
// When the script runs out, the dialog is cancelled.
class ScriptedMappingDialogs : public MappingDialogs {
  public:
    std::deque<ServerDialogAction> actions;
    // Answers of the folder browser in turn; none left: cancelled.
    std::deque<std::string> browserAnswers;

    std::vector<std::string> prompts;
    std::vector<std::string> browsedFrom;
    std::vector<std::string> messages;
    std::vector<unsigned> messageStyles;
    int focusCount = 0;
    int openCount = 0;
    int closeCount = 0;

    void OpenServerDialog(const std::string& prompt, const std::string&, const std::string&) override;
    ServerDialogAction NextServerDialogAction(const std::string&, const std::string&) override;
    void FocusFolderField() override { ++focusCount; }
    void CloseServerDialog() override { ++closeCount; }
    bool BrowseForFolder(const std::string& startFolder, std::string& chosenFile) override;
    int MessageBox(const std::string& text, unsigned style) override;
};

// The interface the engine uses; the headless default until one is set.
MappingDialogs& CurrentMappingDialogs();
// Null restores the headless default. The caller keeps ownership.
void SetMappingDialogs(MappingDialogs* dialogs);

}  // namespace platform
