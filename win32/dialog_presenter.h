#pragma once

#include <windows.h>

#include "message_presenter.h"

namespace kvorn {

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
