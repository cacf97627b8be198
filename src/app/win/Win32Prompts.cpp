#include "app/win/Win32Prompts.h"

#include "core/win/basAPI.h"

namespace reelwright::win {

MessageAnswer Win32Prompts::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                                        MessageButtons buttons) {
    UINT flags = 0;
    switch (icon) {
        case MessageIcon::None: break;
        case MessageIcon::Stop: flags |= MB_ICONSTOP; break;
        case MessageIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
        case MessageIcon::Question: flags |= MB_ICONQUESTION; break;
    }
    switch (buttons) {
        case MessageButtons::Ok: flags |= MB_OK; break;
        case MessageButtons::OkCancel: flags |= MB_OKCANCEL; break;
        case MessageButtons::YesNo: flags |= MB_YESNO; break;
        case MessageButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    // Without an owner window the box must not hide behind other programs.
    if (!owner_) flags |= MB_SETFOREGROUND | MB_TASKMODAL;
    const int answer = ::MessageBoxW(owner_, basAPI::Widen(text).c_str(), basAPI::Widen(title).c_str(), flags);
    switch (answer) {
        case IDCANCEL: return MessageAnswer::Cancel;
        case IDYES: return MessageAnswer::Yes;
        case IDNO: return MessageAnswer::No;
        default: return MessageAnswer::Ok;
    }
}

}  // namespace reelwright::win
