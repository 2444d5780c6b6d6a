#pragma once
// A presenter that remembers what the window would have shown.

#include <QStringList>

#include "message_presenter.h"

class RecordingPresenter : public kvorn::MessagePresenter {
public:
    void ShowMessage(const QString& text) override { messages << text; }
    void ShowError(const QString& message) override { errors << message; }
    void Forget()
    {
        messages.clear();
        errors.clear();
    }

    QStringList messages;
    QStringList errors;
};
