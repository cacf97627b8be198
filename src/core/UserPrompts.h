// The user's answers: message boxes, the folder picker and the open-file
// dialog. The Windows implementation shows the real ones, owned by the main
// window; tests pass a recording fake with scripted answers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace reelwright {

enum class MessageIcon { None, Stop, Exclamation, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct OpenFileRequest {
    std::string title;
    std::string filterDescription;  // "SOF2 Demo Files (*.dm_2004)"
    std::string filterPattern;      // "*.dm_2004"
    // Further entries of the dialog's list of types, after the first:
    // description and pattern ("*.zip", or "*.dm_2004;*.zip" for both).
    std::vector<std::pair<std::string, std::string>> moreFilters;
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

// What work run with progress is told and tells.
class ProgressReport {
public:
    virtual ~ProgressReport() = default;
    // How far the work is: `done` of `total`, in any unit.
    virtual void Report(std::uint64_t done, std::uint64_t total) = 0;
    // True once the user asked to cancel; the work then ends as soon as it can.
    virtual bool CancelRequested() = 0;
};

using ProgressWork = std::function<void(ProgressReport&)>;

class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                      MessageButtons buttons) = 0;

    // The folder picker; the chosen file-system folder, or the empty text.
    virtual std::string BrowseForFolder(const std::string& title) = 0;

    // The open-file dialog; nothing when the user cancelled.
    virtual std::optional<OpenFileResult> ShowOpenFile(const OpenFileRequest& request) = 0;

    // Runs `work` and returns when it has ended. On Windows it runs on a
    // thread of its own; when it takes more than a moment, a window owned by
    // the main window shows `text`, how far it is, and a Cancel button.
    virtual void RunWithProgress(const std::string& title, const std::string& text, const ProgressWork& work) = 0;
};

}  // namespace reelwright
