#include "result_label.h"

#include <QFontMetrics>
#include <QPainter>

const kvorn::FittedResult& ResultLabel::Fitted()
{
    if (fitted_.PixelHeight != 0 && fittedFor_ == text() && fittedFont_ == font())
        return fitted_;
    const QFont described = font();
    fitted_ = kvorn::FitResult(text().toStdString(), width(), described.pixelSize(),
                               [&described](std::string_view candidate, int pixelHeight) {
                                   QFont face = described;
                                   face.setPixelSize(pixelHeight);
                                   return QFontMetrics(face).horizontalAdvance(
                                       QString::fromUtf8(candidate.data(), qsizetype(candidate.size())));
                               });
    fittedFor_ = text();
    fittedFont_ = described;
    return fitted_;
}

void ResultLabel::paintEvent(QPaintEvent*)
{
    if (text().isEmpty())
        return;
    const kvorn::FittedResult& fitted = Fitted();
    QFont face = font();
    face.setPixelSize(fitted.PixelHeight);
    QPainter painter(this);
    painter.setClipRect(rect());
    painter.setFont(face);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(rect(), int(alignment()) | Qt::TextSingleLine,
                     QString::fromUtf8(fitted.Text.data(), qsizetype(fitted.Text.size())));
}
