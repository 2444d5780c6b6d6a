#pragma once

#include <QString>

#include "message_presenter.h"

class QWidget;

namespace kvorn {

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
