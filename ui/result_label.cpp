#include "result_label.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "wide_text.h"

namespace kvorn {

namespace {

// The label as a screen reader sees it: its name, the score as its value,
// the breakdown as its description.
class ResultAccessible : public QAccessibleWidget {
public:
    explicit ResultAccessible(ResultLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text kind) const override
    {
        const auto* label = static_cast<const ResultLabel*>(widget());
        switch (kind) {
        case QAccessible::Value: return label->text();
        case QAccessible::Description: return label->Description();
        default: return QAccessibleWidget::text(kind);
        }
    }
};

QAccessibleInterface* ResultAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(ResultLabel::staticMetaObject.className()) && object && object->isWidgetType())
        return new ResultAccessible(static_cast<ResultLabel*>(object));
    return nullptr;
}

const bool factoryInstalled = (QAccessible::installFactory(ResultAccessibleFactory), true);

}  // namespace

bool ResultLabel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const QString description = Description();
        if (description.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), description, this, rect());
        return true;
    }
    return QLabel::event(event);
}

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
                                       Widen(candidate));
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
                     Widen(fitted.Text));
}

}  // namespace kvorn
