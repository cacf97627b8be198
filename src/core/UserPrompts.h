// The user's answers: message boxes, the folder picker and the open-file
// dialog. The Windows implementation shows the real ones, owned by the main
// window; tests pass a recording fake with scripted answers.
#pragma once

#include <optional>
#include <string>

namespace reelwright {

enum class MessageIcon { None, Stop, Exclamation, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct OpenFileRequest {
    std::string title;
    std::string filterDescription;  // "SOF2 Demo Files (*.dm_2004)"
    std::string filterPattern;      // "*.dm_2004"
    std::string initialFolder;      // empty: the dialog's own choice
    bool allowMultiSelect = true;
    bool fileMustExist = true;
};

struct OpenFileResult {
    // The dialog's result text: one full path, or the folder followed by the
    // file names, separated by NUL characters. Never cut short.
    std::string selection;
    // The chosen file's name without its folder (meaningful for one file).
    std::string fileTitle;
};

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                      MessageButtons buttons) = 0;

    // The folder picker; the chosen file-system folder, or the empty text.
    virtual std::string BrowseForFolder(const std::string& title) = 0;

    // The open-file dialog; nothing when the user cancelled.
    virtual std::optional<OpenFileResult> ShowOpenFile(const OpenFileRequest& request) = 0;
};

}  // namespace reelwright
