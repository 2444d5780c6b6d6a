#pragma once
// How a window talks to the user outside itself: the modal message and the
// error box. The window only sees this interface, so tests can answer it.

#include <string_view>

namespace kvorn {

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // The modal message, UTF-8; returns when the user has closed it.
    virtual void ShowMessage(std::string_view text) = 0;
    // The error box for a failure that escaped a handler; `message` is the
    // failure's own text, UTF-8, before any display rule is applied.
    virtual void ShowError(std::string_view message) = 0;
};

}  // namespace kvorn
