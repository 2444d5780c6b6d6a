#pragma once

#include <QString>

#include <string_view>

class QWidget;

namespace kvorn {

// How the window talks to the user outside itself: the modal message and
// the error box. The form only sees this interface, so tests can answer it.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // The modal message, UTF-8; returns when the user has closed it.
    virtual void ShowMessage(std::string_view text) = 0;
    // The error box for a failure that escaped a handler; `message` is the
    // failure's own text, UTF-8, before any display rule is applied.
    virtual void ShowError(std::string_view message) = 0;
};

// The real displays: a small modal dialog and the platform's message box,
// both captioned with the application's title and kept above the
// always-on-top main window.
class DialogPresenter : public MessagePresenter {
public:
    // `owner` is the window the boxes must never hide behind.
    explicit DialogPresenter(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowMessage(std::string_view text) override;
    void ShowError(std::string_view message) override;

    // What the error box shows for `message`: a final point by the rule,
    // and a very long text shortened in the middle.
    static QString ErrorText(const QString& message);

private:
    QWidget* owner_;
    bool showing_ = false;  // one box at a time
};

}  // namespace kvorn
