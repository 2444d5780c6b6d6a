#pragma once
// A presenter that remembers what the window would have shown.

#include <QStringList>

#include "message_presenter.h"

class RecordingPresenter : public kvorn::MessagePresenter {
public:
    void ShowMessage(std::string_view text) override { messages << QString::fromUtf8(text.data(), qsizetype(text.size())); }
    void ShowError(std::string_view message) override { errors << QString::fromUtf8(message.data(), qsizetype(message.size())); }
    void Forget()
    {
        messages.clear();
        errors.clear();
    }

    QStringList messages;
    QStringList errors;
};
