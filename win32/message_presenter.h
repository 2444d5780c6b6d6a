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
    virtual void ShowMessage(std::string_view text) = 0;
    // The error box for a failure; `message` is the failure's own text,
    // before any display rule.
    virtual void ShowError(std::string_view message) = 0;
};

// The real displays: a small dialog of the program's own and the system's
// message box, captioned with the application's title.
class DialogPresenter : public MessagePresenter {
public:
    // `owner` is the window the boxes must never hide behind.
    explicit DialogPresenter(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    void ShowMessage(std::string_view text) override;
    void ShowError(std::string_view message) override;

private:
    HWND owner_;
    bool showing_ = false;  // one box at a time
};

}  // namespace kvorn
