// NewServerDlg and DialogFolderBrowser over the platform's mapping dialogs.
#include "markup/server_dialogs.h"

#include <string>

#include "markup/url_mapper.h"
#include "path_form.h"
#include "platform/mapping_dialogs.h"

namespace markup {

namespace {
// String resources of the host.
constexpr unsigned kStr_NewServerPrompt = 10034;
constexpr unsigned kStr_PathOutsideFolder = 10035;
}  // namespace

NewServerDlg::NewServerDlg(const String& name, const String& folder, const String& path)
    : name_(name), folder_(folder), path_(path) {}

bool NewServerDlg::DoModal() {
    platform::MappingDialogs& ui = platform::CurrentMappingDialogs();
    String format;
    format.LoadString(kStr_NewServerPrompt);
    String prompt;
    prompt.Format(format.Text(), path_.Text());
    ui.OpenServerDialog(prompt.Text(), name_.Text(), folder_.Text());
    for (;;) {
        const platform::ServerDialogAction action = ui.NextServerDialogAction(name_.Text(), folder_.Text());
        switch (action.kind) {
            case platform::ServerDialogAction::kSetName:
                name_ = action.text.c_str();
                break;
            case platform::ServerDialogAction::kSetFolder:
                folder_ = action.text.c_str();
                break;
            case platform::ServerDialogAction::kBrowse:
                OnBrowse();
                break;
            case platform::ServerDialogAction::kOk:
                if (OnOK()) {
                    ui.CloseServerDialog();
                    return true;
                }
                break;
            case platform::ServerDialogAction::kCancel:
            default:
                ui.CloseServerDialog();
                return false;
        }
    }
}

bool NewServerDlg::OnOK() {
    name_ = detail::Trimmed(name_);
    char* bytes = nullptr;
    if (name_.GetBuffer(bytes)) {
        for (std::uint32_t i = 0; i < name_.Length(); ++i) {
            if (bytes[i] == ' ') bytes[i] = '_';
        }
    }
    folder_ = detail::Trimmed(folder_);
    if (!detail::HasPrefix(detail::Folded(path_), detail::Folded(folder_))) {
        String text;
        text.LoadString(kStr_PathOutsideFolder);
        platform::MappingDialogs& ui = platform::CurrentMappingDialogs();
        ui.MessageBox(text.Text(), platform::kMessageOk);
        ui.FocusFolderField();
        return false;
    }
    return true;
}

void NewServerDlg::OnBrowse() {
    DialogFolderBrowser browser(folder_);
    if (browser.DoModal()) folder_ = StripFileName(browser.PathName());
}

bool DialogFolderBrowser::DoModal() {
    std::string chosen;
    if (!platform::CurrentMappingDialogs().BrowseForFolder(folder_.Text(), chosen)) return false;
    chosen_ = chosen.c_str();
    return true;
}

}  // namespace markup
