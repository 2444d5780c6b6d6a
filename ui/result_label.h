#pragma once

#include <QLabel>

#include "result_fit.h"

// The result label: its text is the exact score, and it draws that text
// whole and centred, in a smaller face or in the exponent form where the
// described face cannot hold it. Nothing is drawn outside the label.
class ResultLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Measured when painted, not when set: a keystroke only stores the text.
    const kvorn::FittedResult& Fitted();

    QString fittedFor_;
    QFont fittedFont_;
    kvorn::FittedResult fitted_{{}, 0};
};
