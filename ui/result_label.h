#pragma once

#include <QLabel>

#include <functional>

#include "result_fit.h"

namespace kvorn {

// The result label: its text is the exact score, and it draws that text
// whole and centred, in a smaller face or in the exponent form where the
// described face cannot hold it. Nothing is drawn outside the label. Resting
// the pointer on it shows the result's breakdown, which is also what a
// screen reader reads as its description; both are built when asked for.
class ResultLabel : public QLabel {
    Q_OBJECT
public:
    using Describer = std::function<QString()>;
    using QLabel::QLabel;
    void SetDescriber(Describer describer) { describer_ = std::move(describer); }
    QString Description() const { return describer_ ? describer_() : QString(); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Measured when painted, not when set: a keystroke only stores the text.
    const kvorn::FittedResult& Fitted();

    Describer describer_;
    QString fittedFor_;
    QFont fittedFont_;
    kvorn::FittedResult fitted_{{}, 0};
};

}  // namespace kvorn
