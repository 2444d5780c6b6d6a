#pragma once
// How the Win32 window talks to the user outside itself: the modal message
// and the error box. The window only sees this interface, so tests can
// answer it.

#include <windows.h>

#include <string_view>

namespace kvorn {

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // The modal message; returns when the user has closed it.
    virtual void ShowMessage(HWND owner, std::string_view text) = 0;
    // The error box for a failure; `message` is the failure's own text,
    // before any display rule.
    virtual void ShowError(HWND owner, std::string_view message) = 0;
};

// The real displays: a small dialog of the program's own and the system's
// message box, captioned with the application's title.
class SystemPresenter : public MessagePresenter {
public:
    void ShowMessage(HWND owner, std::string_view text) override;
    void ShowError(HWND owner, std::string_view message) override;

private:
    bool showing_ = false;  // one box at a time
};

}  // namespace kvorn
