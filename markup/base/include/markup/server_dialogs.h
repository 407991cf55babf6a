// The dialogs of the URL mapping: confirming a new server entry, and
// choosing its folder. The rules live here; the platform's mapping dialogs
// show them and report what the user did.
#pragma once

#include "markup/string.h"

namespace markup {

// Asks for the name and folder of a new entry for a local path. OK is
// refused while the path does not lie inside the folder typed.
class NewServerDlg {
  public:
    NewServerDlg(const String& name, const String& folder, const String& path);
    // True when the user closed the dialog with an accepted OK.
    bool DoModal();
    const String& Name() const { return name_; }
    const String& Folder() const { return folder_; }

  private:
    bool OnOK();
    void OnBrowse();

    String name_;
    String folder_;
    String path_;
};

// Chooses a folder: the answer is a file inside it (PathName), whose folder
// part is the choice.
class DialogFolderBrowser {
  public:
    explicit DialogFolderBrowser(const String& folder) : folder_(folder) {}
    bool DoModal();
    const String& PathName() const { return chosen_; }

  private:
    String folder_;
    String chosen_;
};

}  // namespace markup
