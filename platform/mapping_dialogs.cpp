// The headless and scripted mapping dialogs, and the current one.
#include "platform/mapping_dialogs.h"

namespace platform {

namespace {

MappingDialogs* current = nullptr;

// A browser answers a file inside the chosen folder; the engine keeps the
// folder part of it.
std::string FileInFolder(const std::string& folder) {
    const char separator = !folder.empty() && folder[0] == '/' ? '/' : '\\';
    std::string file = folder;
    if (!file.empty() && file.back() != '/' && file.back() != '\\') file += separator;
    return file + "A";
}

}  // namespace

void HeadlessMappingDialogs::OpenServerDialog(const std::string&, const std::string&, const std::string&) {
    refused_ = false;
}

ServerDialogAction HeadlessMappingDialogs::NextServerDialogAction(const std::string&, const std::string&) {
    return {refused_ ? ServerDialogAction::kCancel : ServerDialogAction::kOk, {}};
}

void HeadlessMappingDialogs::FocusFolderField() {
    refused_ = true;
}

bool HeadlessMappingDialogs::BrowseForFolder(const std::string& startFolder, std::string& chosenFile) {
    chosenFile = FileInFolder(startFolder);
    return true;
}

void ScriptedMappingDialogs::OpenServerDialog(const std::string& prompt, const std::string&,
                                              const std::string&) {
    ++openCount;
    prompts.push_back(prompt);
}

ServerDialogAction ScriptedMappingDialogs::NextServerDialogAction(const std::string&, const std::string&) {
    if (actions.empty()) return {ServerDialogAction::kCancel, {}};
    ServerDialogAction next = actions.front();
    actions.pop_front();
    return next;
}

bool ScriptedMappingDialogs::BrowseForFolder(const std::string& startFolder, std::string& chosenFile) {
    browsedFrom.push_back(startFolder);
    if (browserAnswers.empty()) return false;
    chosenFile = browserAnswers.front();
    browserAnswers.pop_front();
    return true;
}

int ScriptedMappingDialogs::MessageBox(const std::string& text, unsigned style) {
    messages.push_back(text);
    messageStyles.push_back(style);
    return 1;
}

MappingDialogs& CurrentMappingDialogs() {
    static HeadlessMappingDialogs headless;
    return current ? *current : headless;
}

void SetMappingDialogs(MappingDialogs* dialogs) {
    current = dialogs;
}

}  // namespace platform
