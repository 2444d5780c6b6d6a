#include "dialog_presenter.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QIcon>
#include <QPixmap>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

#include "error_box_text.h"
#include "message_width.h"
#include "one_box_at_a_time.h"
#include "wide_text.h"

namespace kvorn {

namespace {

QString Title() { return QGuiApplication::applicationDisplayName(); }

QScreen* ScreenOf(QWidget* owner)
{
    QScreen* screen = owner ? owner->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

// Keeps a box centred on the screen while it settles its size: a message
// box lays itself out only as it is shown.
class CentreOnScreen : public QObject {
public:
    CentreOnScreen(QWidget* box, QScreen* screen) : QObject(box), box_(box), screen_(screen) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            QRect frame(QPoint(), box_->frameGeometry().size());
            frame.moveCenter(screen_->geometry().center());
            box_->move(frame.topLeft());
        }
        return false;
    }

private:
    QWidget* box_;
    QScreen* screen_;
};

// Modal for the whole application, a transient of the owner and on top as
// it is, so a window manager stacks it above the always-on-top window. A
// fixed-size box has a dialog's functions only (move, close) and no icon of
// its own in its title bar.
void PrepareBox(QDialog& box, QWidget* owner)
{
    box.setWindowTitle(Title());
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                       Qt::WindowStaysOnTopHint);
    // Without an icon of its own a window shows the application's: a blank
    // one shows nothing.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    box.setWindowIcon(QIcon(blank));
    if (QScreen* screen = ScreenOf(owner))
        box.installEventFilter(new CentreOnScreen(&box, screen));
}

}  // namespace

void DialogPresenter::ShowMessage(std::string_view utf8)
{
    const QString text = Widen(utf8);
    kvorn::OneBoxAtATime(showing_, [&] {
        QDialog box(owner_);
        auto* label = new QLabel(text, &box);
        label->setObjectName("MessageText");
        label->setFont(QApplication::font("QMessageBox"));
        label->setWordWrap(true);
        // One line where it fits in half the screen, wrapped beyond that;
        // wide enough for the caption to show in full.
        const int screen = ScreenOf(owner_) ? ScreenOf(owner_)->geometry().width() : 1280;
        const int oneLine = label->fontMetrics().horizontalAdvance(text) + 2;
        const int caption = box.fontMetrics().horizontalAdvance(Title());
        label->setMinimumWidth(kvorn::MessageTextWidth(oneLine, caption, screen));
        label->setMaximumWidth(kvorn::MessageTextWidest(screen));
        auto* buttons = new QDialogButtonBox(&box);
        QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
        auto* layout = new QVBoxLayout(&box);
        layout->addWidget(label);
        layout->addWidget(buttons, 0, Qt::AlignHCenter);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        // QDialog already takes Escape as reject, so OK is the cancel too.
        PrepareBox(box, owner_);
        box.exec();
    });
}

void DialogPresenter::ShowError(std::string_view message)
{
    kvorn::OneBoxAtATime(showing_, [&] {
        QMessageBox box(QMessageBox::Critical, Title(), ErrorText(Widen(message)), QMessageBox::Ok, owner_);
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(QMessageBox::Ok);
        PrepareBox(box, owner_);
        box.exec();
    });
}

QString DialogPresenter::ErrorText(const QString& message)
{
    return QString::fromStdString(kvorn::ErrorBoxText(message.toStdString()));
}

}  // namespace kvorn
