// The folder picker shared by the operator dialogs, the IDE and the CLI wizard: a tree of the
// file system's folders under a root, an optional status line, and an OK button that a derived
// class can refuse for a folder (AcceptFolder).
#pragma once

#include <QString>

class QWidget;

namespace zov {

class CFolderPicker {
public:
    virtual ~CFolderPicker();

    // Whether OK is enabled for the selected folder; statusText is shown on the status line when
    // that option is on. The base accepts every folder and gives no status text.
    virtual bool AcceptFolder(const QString& path, QString& statusText);

    // Shows the picker modally. 1 with `result` set to the chosen folder's full path; 0 when the
    // operator cancels or the root folder does not exist.
    int Browse(QWidget* owner = nullptr);

    QString title;          // shown above the tree; empty: "Open"
    QString initialFolder;  // selected when the picker opens; empty: none
    QString rootFolder;     // top of the tree; empty: the whole file system
    bool showStatusText = false;
    QString caption;  // window title; empty: the toolkit's default
    QString result;

    // Object names of the picker's parts, for the people (and tests) that drive it.
    static constexpr const char* kDialogName = "folderPicker";
    static constexpr const char* kTreeName = "folderTree";
    static constexpr const char* kTitleName = "folderTitle";
    static constexpr const char* kStatusName = "folderStatus";
};

// The initial folder as the picker uses it: trailing blanks and then one trailing separator
// ('/' or '\') removed, the root "/" kept.
QString CleanInitialFolder(QString folder);

}  // namespace zov
