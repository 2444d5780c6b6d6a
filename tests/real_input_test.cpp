// The Qt window on a real X server, driven through XTest by random seeded
// sequences of what users do, and compared after every step with the model
// the form itself drives: every field's text, caret and selection, both
// selectors, the focus, the active window, the result as text and as drawn
// pixels, the boxes with their caption, text, icon and button, the open
// list and the tip. KVORN_SEED and KVORN_STEPS replay a sequence. Beside
// it, what no random step reaches: the window's make and layout, input
// methods, the separator read as the window is made and the whole
// window's look.

#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include <unistd.h>

#include "application.h"
#include "described_font.h"
#include "described_window.h"
#include "form1_window.h"
#include "form_model.h"
#include "jpeg_image.h"
#include "dialog_presenter.h"
#include "picture_button.h"
#include "pictures.h"
#include "real_input.h"
#include "result_fit.h"
#include "selector_box.h"

using namespace Qt::StringLiterals;
using namespace kvorn;
namespace t = kvorn::test;

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
QRect Rect(const t::DescribedRect& r) { return {r.Left, r.Top, r.Width, r.Height}; }

// Waits for a condition the window reaches on its own (a timer of Qt's, a
// box being shown); false if it has not within the bound.
template <class Condition>
bool WaitFor(Condition condition, int milliseconds = 5000)
{
    const QDeadlineTimer bound(milliseconds);
    while (!condition()) {
        if (bound.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Every box the window shows, as the user sees it, answered with Enter
// (its default button) once it is the active window.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(RealInput& input) : input_(input) { qApp->installEventFilter(this); }
    std::vector<t::Box> shown;
    QStringList faults;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && box && box->isWindow())
            QMetaObject::invokeMethod(box, [this, box] { Answer(box); }, Qt::QueuedConnection);
        return false;
    }

private:
    void Answer(QDialog* box)
    {
        if (!WaitFor([box] { return QApplication::activeWindow() == box; }))
            faults << u"a box is not the active window"_s;
        t::Box seen;
        seen.Caption = box->windowTitle().toStdString();
        // The text as the box shows it: markup drawn as markup is not it.
        const auto asShown = [](const QString& text, Qt::TextFormat format) {
            const bool plain = format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text));
            return (plain ? text : u"(drawn as markup) "_s + text).toStdString();
        };
        auto* label = box->findChild<QLabel*>(u"MessageText"_s);  // the program's own box's
        if (auto* message = qobject_cast<QMessageBox*>(box)) {
            seen.Text = asShown(message->text(), message->textFormat());
            seen.Icon = message->icon() == QMessageBox::Critical && !message->iconPixmap().isNull() ? t::BoxIcon::Stop
                        : message->icon() == QMessageBox::NoIcon ? t::BoxIcon::None
                                                                 : t::BoxIcon(-1);
        } else if (label) {
            seen.Text = asShown(label->text(), label->textFormat());
            const QImage ink = label->grab().toImage();  // from its left, as a left-aligned text
            const int from =
                t::FirstInkColumn(ink.width(), ink.height(), [&](int x, int y) { return ink.pixel(x, y); });
            if (from > 3 * ink.devicePixelRatio())
                faults << u"a box's text starts %1 px in"_s.arg(from);
            // Its button as it was when last looked at and found right, the
            // pointer off it, in the runs on one screen (KVORN_WRITE_REFERENCES=1
            // writes it anew).
            input_.MoveTo(QPoint());
            const QImage look = box->findChild<QPushButton*>()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QString reference = u"" KVORN_REFERENCE_DIR "/qt-box-button@%1x.png"_s.arg(look.devicePixelRatio());
            const bool oneScreen = QGuiApplication::screens().size() == 1;
            if (oneScreen && qEnvironmentVariableIsSet("KVORN_WRITE_REFERENCES"))
                look.save(reference);
            else if (oneScreen && look != QImage(reference).convertToFormat(QImage::Format_RGB32) &&
                     look.save(u"button-shown.png"_s))
                faults << u"a box's button looks otherwise than %1 (button-shown.png)"_s.arg(reference);
        }
        QStringList buttons;
        for (QPushButton* button : box->findChildren<QPushButton*>()) {
            if (!button->isVisible())
                continue;
            buttons << button->text().remove(u'&') + (button->isDefault() ? u""_s : u" (not the default)"_s);
            // The program's own box has its button centred, as far from the
            // foot as the text from the top, as the Windows one has.
            const QPoint at = button->mapTo(box, QPoint());
            const int under = box->height() - at.y() - button->height();
            if (label && (std::abs(2 * at.x() + button->width() - box->width()) > 2 || under != label->y()))
                faults << u"a box's button not centred, or %1 px above its foot, its text %2 under its top"_s
                              .arg(under)
                              .arg(label->y());
        }
        seen.Button = buttons.join(u'|').toStdString();
        shown.push_back(seen);
        // Modal, above the always-on-top window, centred on its window's
        // screen, with no icon in its title bar and no minimise or maximise.
        QWidget* owner = box->parentWidget() ? box->parentWidget()->window() : nullptr;
        const Qt::WindowFlags flags = box->windowFlags();
        if (box->windowModality() != Qt::ApplicationModal || !(flags & Qt::WindowStaysOnTopHint))
            faults << u"a box is not modal and on top"_s;
        if ((box->frameGeometry().center() - (owner ? owner : box)->screen()->geometry().center()).manhattanLength() > 2)
            faults << u"a box is not centred on its window's screen"_s;
        const QImage titleIcon = box->windowHandle()->icon().pixmap(32).toImage().convertToFormat(QImage::Format_Alpha8);
        if (std::any_of(titleIcon.constBits(), titleIcon.constBits() + titleIcon.sizeInBytes(), [](uchar a) { return a; }))
            faults << u"a box shows an icon in its title bar"_s;
        if (!(flags & Qt::CustomizeWindowHint) || !(flags & Qt::WindowCloseButtonHint) ||
            (flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) ||
            box->minimumSize() != box->maximumSize())
            faults << u"a box can be minimised, maximised or resized, or has no close button"_s;
        // To the window manager, a dialog that belongs to its window.
        if (input_.ManagerHints(box->winId()) != std::pair{std::string("_NET_WM_WINDOW_TYPE_DIALOG"),
                                                            owner ? (unsigned long)owner->winId() : 0ul})
            faults << u"a box is no dialog of its window to the window manager"_s;
        const char* key = ++answered % 2 ? "Return" : "Escape";  // both close it
        input_.Key(key);
        if (!WaitFor([box] { return !box->isVisible(); }))
            faults << QString::fromLatin1(key) + u" did not close the box"_s;
        // There is no window manager on this display: do its part, which
        // gives the focus back to the window a closed box belonged to.
        if (!owner)
            faults << u"the box belongs to no window"_s;
        else if (!QApplication::activeWindow())
            input_.Activate(owner->winId());
    }
    RealInput& input_;
    int answered = 0;
};

}  // namespace

class RealInputTest : public QObject {
    Q_OBJECT

    DialogPresenter presenter;
    std::unique_ptr<Form1Window> form;
    std::unique_ptr<RealInput> input;
    std::unique_ptr<BoxAnswerer> boxes;
    QFont systemFace;  // the application's before any window, which menus and boxes keep
    std::map<QString, QImage> bands;  // the drawn result band for each text
    QPoint lastPress;
    int enters = 0;
    std::optional<std::string> menuSeen;  // after the window's menu: what it offered, then the clipboard
    int toolTips = 0;
    std::map<QString, QImage> looks;  // by control and state
    char32_t separator = U',';

    QWidget* Widget(Control c) const { return form->findChild<QWidget*>(Q(t::DescribedControlOf(c).Name)); }
    QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
    // The open menu's items.
    std::vector<std::string> MenuTexts()
    {
        std::vector<std::string> texts;
        for (QAction* action : OpenMenu() ? OpenMenu()->actions() : QList<QAction*>())
            texts.push_back(action->text().toStdString());
        return texts;
    }
    QLineEdit* TextPart(Control c) const
    {
        QWidget* w = Widget(c);
        auto* combo = qobject_cast<QComboBox*>(w);
        return combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(w);
    }
    QPoint Park() const { return form->mapToGlobal(QPoint(3, 150)); }  // the picture, clear of every control
    static QPoint Centre(QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); }

    // Where a click into a control's text puts the caret at `step.Item`, or
    // as near as the text's scroll lets a click reach; the step is told
    // where that is. Two presses in a row are kept apart, so that no two
    // make a double click.
    QPoint InText(t::Step&& step) { return InText(step); }
    QPoint InText(t::Step& step)
    {
        QLineEdit* text = TextPart(step.Target);
        const int want = std::min<int>(step.Item, int(text->text().size()));
        int best = 2;
        for (int x = 2; x < text->width() - 2; ++x)
            if (std::abs(text->cursorPositionAt({x, 8}) - want) < std::abs(text->cursorPositionAt({best, 8}) - want))
                best = x;
        step.Item = text->cursorPositionAt({best, 8});
        // Of two heights in the text, the one farther from the last press.
        const QPoint high = text->mapToGlobal(QPoint(best, text->height() / 2 - 5));
        const QPoint low = text->mapToGlobal(QPoint(best, text->height() / 2 + 5));
        lastPress = (high - lastPress).manhattanLength() > (low - lastPress).manhattanLength() ? high : low;
        return lastPress;
    }
    void Press(QPoint at)
    {
        if ((at - lastPress).manhattanLength() < 8)
            at.ry() += at.y() > lastPress.y() ? 2 : -2;
        if ((at - lastPress).manhattanLength() < 8)
            at.rx() += 8;
        lastPress = at;
        input->Click(at);
    }

    Control Focused() const
    {
        for (QWidget* w = form->focusWidget(); w; w = w->parentWidget())
            for (const t::DescribedControl& d : t::DescribedControls)
                if (w->objectName() == Q(d.Name))
                    return d.Id;
        return Control::Image1;
    }

    // The result band as the fitting rule draws the text on the picture,
    // black, centred, in the device pixels of the screen's scale.
    QImage DrawnBand(const QString& text)
    {
        if (const auto found = bands.find(text); found != bands.end())
            return found->second;
        const QRect band = form->Label1->geometry();
        const qreal ratio = form->devicePixelRatioF();
        QImage image = form->Image1->pixmap()
                           .copy(QRectF(QPointF(band.topLeft()) * ratio, QSizeF(band.size()) * ratio).toRect())
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        if (!text.isEmpty()) {
            const QFont described = form->Label1->font();
            const kvorn::FittedResult fitted =
                kvorn::FitResult(text.toStdString(), band.width(), t::DescribedControlOf(Control::Label1).FontPixels,
                                 [&described](std::string_view candidate, int pixels) {
                                     QFont face = described;
                                     face.setPixelSize(pixels);
                                     return QFontMetrics(face).horizontalAdvance(Q(candidate));
                                 });
            QFont face = described;
            face.setPixelSize(fitted.PixelHeight);
            QPainter painter(&image);
            painter.setFont(face);
            painter.setPen(Qt::black);
            painter.drawText(QRect(QPoint(), band.size()), Qt::AlignCenter | Qt::TextSingleLine, Q(fitted.Text));
        }
        bands[text] = image;
        return image;
    }
    // What the screen shows where `widget` is.
    QImage OnScreen(const QWidget* widget) const
    {
        const QPoint at = widget->mapToGlobal(QPoint());
        return form->screen()
            ->grabWindow(0, at.x(), at.y(), widget->width(), widget->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // The open list: at most eight rows of 16 pixels at the screen's scale,
    // the items in order, the current one in the highlight.
    QString CheckOpenList(QComboBox* combo, const std::vector<std::string_view>& items)
    {
        QStringList listed, wanted;
        for (int i = 0; i < combo->count(); ++i)
            listed << combo->itemText(i);
        for (std::string_view item : items)
            wanted << Q(item);
        if (listed != wanted)  // every item, not only the rows in view
            return u"the list holds %1"_s.arg(listed.join(u'|'));
        QAbstractItemView* list = combo->view();
        const int rows = std::min<int>(t::DescribedListRows, int(items.size()));
        const qreal ratio = list->devicePixelRatioF();
        if (list->viewport()->height() != rows * t::DescribedListItemHeight)
            return u"the open list is %1 high for %2 rows"_s.arg(list->viewport()->height()).arg(rows);
        if (list->verticalScrollBar()->isVisible() != (int(items.size()) > rows))  // where not every item is in view
            return u"the open list of %1 items %2 a scroll bar"_s.arg(items.size()).arg(
                list->verticalScrollBar()->isVisible() ? u"shows"_s : u"lacks"_s);
        const QImage shown = OnScreen(list->viewport());
        const QColor highlight = QApplication::palette().color(QPalette::Highlight);
        for (int y = t::DescribedListItemHeight / 2; y < list->viewport()->height(); y += t::DescribedListItemHeight) {
            const QModelIndex index = list->indexAt(QPoint(8, y));
            if (!index.isValid() || index.data().toString() != Q(items[std::size_t(index.row())]))
                return u"row at %1 shows '%2'"_s.arg(y).arg(index.data().toString());
            const QColor colour = shown.pixel(qRound((list->viewport()->width() - 4) * ratio), qRound(y * ratio));
            const bool lit = std::abs(colour.red() - highlight.red()) + std::abs(colour.green() - highlight.green()) +
                                 std::abs(colour.blue() - highlight.blue()) <= 12;
            if (lit != (index.row() == combo->currentIndex()))
                return u"row %1 is %2 (current %3)"_s.arg(index.row()).arg(colour.name()).arg(combo->currentIndex());
        }
        return {};
    }

    QString Drive(const t::Step& step, QPoint clickAt)
    {
        switch (step.Kind) {
        case t::StepKind::Type:  // Enter from the main keys and the keypad in turn
            step.Character == 13 ? input->Key(++enters % 2 ? "Return" : "KP_Enter") : input->Type(step.Character);
            break;
        case t::StepKind::Tab: input->Key("Tab", step.Shift); break;
        case t::StepKind::Delete: input->Key("Delete"); break;
        case t::StepKind::Left: input->Key("Left", step.Shift); break;
        case t::StepKind::Right: input->Key("Right", step.Shift); break;
        case t::StepKind::Home: input->Key("Home", step.Shift); break;
        case t::StepKind::End: input->Key("End", step.Shift); break;
        case t::StepKind::ListKey: input->Key(step.Item > 0 ? "Down" : "Up", false, std::abs(step.Item) > 1); break;
        case t::StepKind::Wheel: {
            QWidget* w = Widget(step.Target);
            input->Wheel(w->mapToGlobal(QPoint(8, w->height() / 2)), step.Item);
            input->MoveTo(Park());
            break;
        }
        case t::StepKind::MousePick: {
            auto* combo = static_cast<QComboBox*>(Widget(step.Target));
            // On the arrow, at either of two heights: apart from the last press.
            const QPoint high = combo->mapToGlobal(QPoint(combo->width() - 7, combo->height() / 2 - 4));
            Press((high - lastPress).manhattanLength() >= 8 ? high : high + QPoint(0, 8));
            QAbstractItemView* list = combo->view();
            if (!WaitFor([list] { return list->isVisible(); }))
                return u"the list did not open"_s;
            // Drawn once the server has shown it.
            QString fault;
            if (!WaitFor([&] { return (fault = CheckOpenList(combo, kvorn::ListItems(step.Target))).isEmpty(); }, 3000))
                return fault;
            const int row = list->currentIndex().row();  // a character typed into it moves nothing
            input->Type(step.Target == Control::ComboBox1 ? U'Ш' : U'4');
            if (list->currentIndex().row() != row || !list->isVisible())
                return u"a character typed into the open list moved it"_s;
            const QString result = form->Label1->text();  // the arrow keys move the highlight alone
            for (const char* key : {"Up", "Down"}) {
                input->Key(key);
                if (form->Label1->text() != result || !list->isVisible())
                    return u"an arrow key in the open list picked"_s;
            }
            if (step.Item < 0) {
                input->Key("Escape");
                if (!WaitFor([list] { return !list->isVisible(); }))
                    return u"Escape left the list open"_s;
                break;
            }
            const QModelIndex item = list->model()->index(step.Item, 0);
            for (int turns = 0; !list->viewport()->rect().contains(list->visualRect(item)) && turns < 30; ++turns)
                input->Wheel(list->viewport()->mapToGlobal(QPoint(8, 8)),
                             list->visualRect(item).top() < 0 ? 1 : -1);
            const QPoint over = list->viewport()->mapToGlobal(list->visualRect(item).center());
            if (step.Item % 2 == 0) {
                Press(over);
            } else {  // an odd one, under the pointer and so the current one, Enter picks
                input->MoveTo(lastPress = over);  // the next press on the arrow is kept apart as after a click
                input->Key("Return");
            }
            if (!WaitFor([list] { return !list->isVisible(); }))
                return u"the list did not close"_s;
            input->MoveTo(Park());
            break;
        }
        case t::StepKind::Paste:
            QGuiApplication::clipboard()->setText(Q(step.Clipboard));
            input->Key("Insert", true);
            break;
        case t::StepKind::LeftClick: input->Click(clickAt, 1, step.Shift); break;
        case t::StepKind::MiddleClick:
            QGuiApplication::clipboard()->setText(Q(step.Clipboard), QClipboard::Selection);
            input->Click(clickAt, 2);
            break;
        case t::StepKind::ContextMenu: {
            const QWidget* arrow = Widget(step.Target);  // its right end, for a drop button
            input->Click(step.Item < 0 ? arrow->mapToGlobal(QPoint(arrow->width() - 6, arrow->height() / 2))
                                       : InText(t::Step(step)), 3);
            if (!WaitFor([] { return QApplication::activePopupWidget() != nullptr; }))
                return u"no context menu"_s;
            if (MenuTexts() == t::DescribedWindowMenu)
                return u"the window's menu over a field"_s;
            input->Key("Escape");
            if (!WaitFor([] { return QApplication::activePopupWidget() == nullptr; }))
                return u"the context menu stayed open"_s;
            input->MoveTo(Park());
            break;
        }
        case t::StepKind::WindowMenu:
        case t::StepKind::MenuKey: {
            QGuiApplication::clipboard()->setText(Q(step.Clipboard));
            const QPoint clicked = step.Target == Control::Label1 ? Centre(form->Label1) : Park();
            if (step.Kind == t::StepKind::MenuKey)
                input->Key(step.Shift ? "F10" : "Menu", step.Shift);
            else
                input->Click(clicked, 3);
            if (!WaitFor([this] { return OpenMenu() != nullptr; }))
                return u"no menu"_s;
            QMenu* menu = OpenMenu();
            const std::vector<std::string> texts = MenuTexts();
            std::string offered;
            for (QAction* action : menu->actions())
                offered += !action->isVisible() ? "?" : action->isEnabled() ? "+" : "-";  // "?": hidden
            const QWidget* focus = QApplication::focusWidget();
            const bool windows = texts == t::DescribedWindowMenu;
            if (menu->font() != systemFace)
                return u"a menu in the face "_s + menu->font().toString();
            if (!windows && texts.front() != "&Отменить действие\tCtrl+Z")  // a field's own, in Russian
                return u"a menu of "_s + Q(texts.front());
            // From the keys under its control, from the mouse at the pointer.
            const QPoint at = step.Kind == t::StepKind::WindowMenu ? clicked
                              : focus ? focus->mapToGlobal(QPoint(0, focus->height())) : QPoint();
            if (windows && !WaitFor([&] { return menu->geometry().topLeft() == at; }))
                return u"the window's menu is not where it was opened"_s;
            if (windows)  // passed over, an item runs nothing
                for (QAction* action : menu->actions())
                    input->MoveTo(menu->mapToGlobal(menu->actionGeometry(action).center()));
            if (step.Item < 0 || step.Kind == t::StepKind::MenuKey)
                input->Key("Escape");
            else
                input->Click(menu->mapToGlobal(menu->actionGeometry(menu->actions().at(step.Item)).center()));
            if (!WaitFor([this] { return !OpenMenu(); }))
                return u"the menu stayed open"_s;
            menuSeen = windows ? offered + " " + QGuiApplication::clipboard()->text().toStdString() : "its own";
            input->MoveTo(Park());
            break;
        }
        case t::StepKind::SwitchAway:
            input->ActivateOther();
            if (!WaitFor([this] { return !form->isActiveWindow(); }))
                return u"the calculator stayed active"_s;
            break;
        case t::StepKind::Regional: {  // as Qt tells its widgets
            separator = separator == U',' ? U'.' : U',';
            QEvent changed(QEvent::LocaleChange);
            QApplication::sendEvent(qApp, &changed);
            break;
        }
        case t::StepKind::SwitchBack:
            input->Activate(form->winId());
            if (!WaitFor([this] { return form->isActiveWindow(); }))
                return u"the calculator did not become active"_s;
            break;
        case t::StepKind::Clear: {
            const QPoint centre = Centre(form->BitBtn1);
            if (step.Item == 0) {
                Press(centre);
            } else {  // held down, it looks pressed: neither as it is nor as under the pointer
                input->MoveTo(Park());
                form->BitBtn1->setFocus(Qt::MouseFocusReason);  // as the press will
                const QImage up = form->BitBtn1->grab().toImage();
                input->MoveTo(centre);
                const QImage hovered = form->BitBtn1->grab().toImage();
                QImage held;
                input->PressAndLeave(centre, Park(), [&] { held = form->BitBtn1->grab().toImage(); });
                if (held == up || held == hovered)
                    return u"Clear looks the same held down as not"_s;
                // Under the pointer its picture still shows, only tinted.
                const auto tinted = [&](int x, int y) {
                    return std::abs(qGray(up.pixel(x, y)) - qGray(hovered.pixel(x, y)));
                };
                if (t::MeanChange(up.width(), up.height(), tinted) > 40)
                    return u"Clear's picture does not show under the pointer"_s;
                // The picture sinks in: down and right, shaded alike all over.
                const int d = qRound(held.devicePixelRatio());
                int sunk = 0, unmoved = 0;
                for (int y = 5 * d; y < held.height() - 5 * d; ++y)
                    for (int x = 5 * d; x < held.width() - 5 * d; ++x) {
                        const int shaded = qGray(held.pixel(x, y));
                        sunk += std::abs(qGray(up.pixel(x - d, y - d)) * 195 / 255 - shaded) <= 3;
                        unmoved += std::abs(qGray(up.pixel(x, y)) * 195 / 255 - shaded) <= 3;
                    }
                if (sunk <= unmoved)
                    return u"Clear's picture held down: %1 pixels moved down-right, %2 not"_s.arg(sunk).arg(unmoved);
            }
            input->MoveTo(Park());
            break;
        }
        case t::StepKind::RestOnResult: {
            const int before = toolTips;
            const QPoint centre = Centre(form->Label1);
            input->MoveTo(centre);
            input->MoveTo(centre + QPoint(2, 1));
            if (!WaitFor([&] { return toolTips > before; }))
                return u"the result was never asked for its tip"_s;
            break;
        }
        }
        return {};
    }

    // What the window shows now, in the model's terms.
    t::Expected Shown() const
    {
        t::Expected s;
        for (std::size_t i = 0; i < s.Edits.size(); ++i) {
            const QLineEdit* e = TextPart(Control(int(Control::Edit1) + int(i)));
            const int caret = e->cursorPosition(), start = e->selectionStart();
            const int anchor = !e->hasSelectedText() ? caret : caret == start ? e->selectionEnd() : start;
            s.Edits[i] = {e->text().toStdString(), caret, anchor};
        }
        s.Ship = form->ComboBox1->currentText().toStdString();
        s.Caliber = form->ComboBox2->currentText().toStdString();
        s.Focus = Focused();
        s.Active = form->isActiveWindow();
        s.Result = form->Label1->text().toStdString();
        s.Boxes = boxes->shown;
        return s;
    }

    QString Compare(const t::Expected& expected, const t::Step& step)
    {
        t::Expected shown = Shown();
        shown.Menu = std::exchange(menuSeen, std::nullopt);
        if (step.Kind == t::StepKind::RestOnResult) {
            shown.Tip = QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
            // Beside the pointer: under it, or over it where the screen ends;
            // from it, up to it where the screen ends, or as near as the
            // screen lets a wide one come.
            for (const QWidget* tip : QApplication::topLevelWidgets()) {
                const QRect at = tip->frameGeometry().translated(-QCursor::pos());
                const bool across = std::abs(at.left()) <= 32 || (at.right() <= 0 && at.right() >= -40) ||
                                    tip->frameGeometry().right() >= tip->screen()->geometry().right() - 4;
                if (tip->inherits("QTipLabel") && tip->isVisible() &&
                    (!across || ((at.top() < 0 || at.top() > 40) && (at.bottom() > 0 || at.bottom() < -40))))
                    return u"the tip opens at %1,%2 from the pointer"_s.arg(at.left()).arg(at.top());
            }
            QAccessibleInterface* result = QAccessible::queryAccessibleInterface(form->Label1);
            if (result->role() != QAccessible::StaticText ||
                result->text(QAccessible::Description).toStdString() != *expected.Tip ||
                result->text(QAccessible::Value) != form->Label1->text())
                return u"the result's accessible role, or its description or value beside its tip"_s;
            input->MoveTo(Park());
            if (!WaitFor([] { return !QToolTip::isVisible(); }))
                return u"the tip stayed"_s;
        }
        if (!boxes->faults.isEmpty())
            return boxes->faults.join(u"; "_s);
        if (DescribeState(shown) != DescribeState(expected))
            return u"\n  expected %1\n  shown    %2"_s.arg(Q(DescribeState(expected)), Q(DescribeState(shown)));
        const QImage drawn = DrawnBand(Q(expected.Result));
        if (!WaitFor([&] { return OnScreen(form->Label1) == drawn; }, 3000)) {
            OnScreen(form->Label1).save(u"band-shown.png"_s);
            drawn.save(u"band-drawn.png"_s);
            return u"the result band does not show '%1' as the fitting rule draws it (band-*.png)"_s.arg(
                Q(expected.Result));
        }
        // An empty field with the focus shows its caret, dark where it
        // stands; it blinks, so within a blink.
        if (QLineEdit* e = form->isActiveWindow() ? TextPart(Focused()) : nullptr; e && e->text().isEmpty()) {
            const QRect at = e->inputMethodQuery(Qt::ImCursorRectangle).toRect() & e->rect().adjusted(1, 1, -1, -1);
            const auto shown = [&] {
                const QImage look = e->grab(at).toImage();
                for (int y = 0; y < look.height(); ++y)
                    for (int x = 0; x < look.width(); ++x)
                        if (qGray(look.pixel(x, y)) < 128)
                            return true;
                return false;
            };
            if (!WaitFor(shown, 3000))
                return u"no caret in the empty %1, which has the focus"_s.arg(Q(t::DescribedControlOf(Focused()).Name));
        }
        // Each control shows whether it has the focus (a field or a selector
        // in its frame: its top row), and looks the same whenever it is in
        // the same state.
        for (const t::DescribedControl& d : t::DescribedControls) {
            if (std::ranges::find(t::DescribedTabOrder, d.Id) == t::DescribedTabOrder.end())  // no focus to show
                continue;
            QWidget* w = Widget(d.Id);
            const bool button = d.Id == Control::BitBtn1 || d.Id == Control::BitBtn2;
            QImage look = w->grab().toImage();
            if (!button)
                look = look.copy(0, 0, look.width(), 1);
            const QString state = w->objectName() + (w->underMouse() ? u" hovered"_s : QString());
            const auto same = looks.try_emplace(state + (w->hasFocus() ? u" focused"_s : QString()), look).first;
            const auto other = looks.find(state + (w->hasFocus() ? QString() : u" focused"_s));
            if (same->second != look)
                return w->objectName() + u" looks otherwise than before in the same state"_s;
            if (other != looks.end() && other->second == look)
                return w->objectName() + u" looks the same with the focus as without"_s;
            const auto apart = [&](int x, int y) {
                return std::abs(qGray(look.pixel(x, y)) - qGray(other->second.pixel(x, y)));
            };
            if (other == looks.end() || !button)
                continue;
            const double off = t::MeanChange(look.width(), look.height(), apart), scale = w->devicePixelRatioF();
            // Half a dotted frame's pixels at the least, each a pixel wide at
            // the display's scale; at 100 %, as far in on every side.
            int marked = 0;
            QRect frame;
            for (int y = 0; y < look.height(); ++y)
                for (int x = 0; x < look.width(); ++x)
                    if (apart(x, y))
                        ++marked, frame |= QRect(x, y, 1, 1);
            if (t::LongestRun(look.width(), look.height(), apart, qRound(2 * scale)) > 2 * scale || off < 64 ||
                marked < (d.Bounds.Width + d.Bounds.Height - 12) * scale * scale / 2 ||
                (scale == 1 && (frame.left() != look.width() - 1 - frame.right() ||
                                frame.top() != look.height() - 1 - frame.bottom())))
                return w->objectName() +
                       u"'s focus mark is not a dotted frame 3 px in, %1 grey levels off the plaque"_s.arg(off);
        }
        return {};
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == form->Label1 && event->type() == QEvent::ToolTip)
            ++toolTips;
        return false;
    }

private slots:
    void initTestCase()
    {
        NameApplication();
        QApplication::setWindowIcon(ShipIcon());  // as the program has it: the boxes must not show it
        input = std::make_unique<RealInput>();
        QVERIFY2(input->Ready(), "no X server with XTest");
        boxes = std::make_unique<BoxAnswerer>(*input);
        TranslateQtIntoRussian();  // as the program does
        systemFace = QApplication::font();
    }
    void init()
    {
        form = std::make_unique<Form1Window>(presenter);
        looks.clear();
        presenter.SetOwner(form.get());
        separator = U',';
        form->SetSeparatorSource([this] { return separator; });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        input->Watch(form->winId());
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->Label1->installEventFilter(this);
        input->MoveTo(Park());
        boxes->shown.clear();
        boxes->faults.clear();
    }
    void cleanup()
    {
        presenter.SetOwner(nullptr);
        form->Label1->removeEventFilter(this);
        form.reset();
    }

    // Random seeded sequences: KVORN_SEED replays one, KVORN_STEPS sets its length.
    void agreesWithTheModelAfterEveryStep()
    {
        const std::uint64_t seed = qEnvironmentVariableIsSet("KVORN_SEED")
                                       ? qEnvironmentVariable("KVORN_SEED").toULongLong()
                                       : std::random_device()();
        const int steps = qEnvironmentVariableIsSet("KVORN_STEPS") ? qEnvironmentVariableIntValue("KVORN_STEPS") : 500;
        qInfo("KVORN_SEED=%llu KVORN_STEPS=%d", static_cast<unsigned long long>(seed), steps);
        const bool trace = qEnvironmentVariableIsSet("KVORN_TRACE");
        t::FormModel model;
        t::StepGenerator generator(seed, t::SeldomSteps());
        int shown = 0, messages = 0, errors = 0, tips = 0;
        QString fault = Compare(model.State(), t::KeyStep(t::StepKind::Tab));
        QVERIFY2(fault.isEmpty(), qPrintable(u"at start: "_s + fault));
        for (int i = 0; i < steps; ++i) {
            t::Step step = generator.Next(model);
            boxes->shown.clear();
            QPoint clickAt;
            if (step.Kind == t::StepKind::LeftClick || step.Kind == t::StepKind::MiddleClick)
                clickAt = InText(step);
            model.Apply(step);
            const t::Expected state = model.State();
            fault = Drive(step, clickAt);
            if (trace)
                qInfo("%d %s | %s", i + 1, t::DescribeStep(step).c_str(), t::DescribeState(state).c_str());
            if (fault.isEmpty())
                fault = Compare(state, step);
            if (!fault.isEmpty()) {
                form->screen()->grabWindow(0).save(u"differential-failed.png"_s);  // the screen, to look at
                QFAIL(qPrintable(u"KVORN_SEED=%1 step %2 of %3, %4: %5"_s.arg(seed).arg(i + 1).arg(steps).arg(
                    Q(t::DescribeStep(step)), fault)));
            }
            shown += !state.Result.empty();
            for (const t::Box& box : state.Boxes)
                (box.Icon == t::BoxIcon::Stop ? errors : messages) += 1;
            tips += state.Tip && !state.Tip->empty();
        }
        // What the sequence reached, to read: a result after so many steps,
        // so many boxes of each kind, so many tips.
        qInfo("a result shown after %d steps; %d messages, %d error boxes, %d tips", shown, messages, errors, tips);
        presenter.ShowError(std::string(100, '7') + " is not a valid floating point value");  // settles its size late
        QVERIFY2(boxes->faults.isEmpty(), qPrintable(boxes->faults.join(u"; "_s)));
        input->Activate(form->winId());  // the last step: Exit, from the keypad
        QTRY_VERIFY(form->isActiveWindow());
        form->BitBtn2->setFocus(Qt::TabFocusReason);
        input->Key("KP_Enter");
        QTRY_VERIFY(!form->isVisible());
    }
    // Borderless, above other windows, named and with its own icon. One
    // made as the user's settings are read has their decimal mark (a change
    // while it runs: the random run). A described face that is missing has
    // a stand-in a tenth narrower; one that is there keeps its own width.
    void window()
    {
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(form->windowTitle(), u"Кворн калькулятор v1.1.1 c12a"_s);
        QCOMPARE(form->objectName(), u"Form1"_s);
        const QByteArray user = qgetenv("LC_ALL");
        qputenv("LC_ALL", "ru_RU.UTF-8");
        QApplication::setWindowIcon({});  // one made without the program's has its own, in the event loop
        Form1Window made(presenter);
        QApplication::setWindowIcon(ShipIcon());
        user.isEmpty() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", user);
        QTRY_VERIFY(made.testAttribute(Qt::WA_SetWindowIcon) && !made.windowIcon().isNull());
        QTest::keyClicks(made.Edit3, u"1.5"_s);
        QCOMPARE(made.Edit3->text(), u"1,5"_s);
        QCOMPARE(form->font().pixelSize(), t::DescribedWindowFontPixels);
        QCOMPARE(form->Label2->text(), u"/"_s);  // too narrow for a picture to show more
        QCOMPARE(DescribedFont({"DejaVu Sans", 11, false}).stretch(), QFont().stretch());
        if (!QFontDatabase::families().contains(u"Verdana"_s, Qt::CaseInsensitive))
            QCOMPARE(DescribedFont({"Verdana", 11, false}).stretch(), 90);
    }

    // Each control where the description puts it, with its name for a
    // screen reader. (The tab stops, their order and the maximum lengths:
    // the random run, against the described ones; the faces: the references.)
    // A drag from a field places its caret and moves nothing; one on the
    // picture moves the window. (In that order: the server moves the window
    // in its own time, and a press after it could land where it was.)
    void described()
    {
        QCOMPARE(form->geometry(), Rect(t::DescribedWindow));
        QStringList stacking, described;
        for (QObject* child : form->children())
            if (child->isWidgetType())
                stacking << child->objectName();
        for (const t::DescribedControl& d : t::DescribedControls) {
            described << Q(d.Name);
            QWidget* control = form->findChild<QWidget*>(described.last());
            QVERIFY2(control, qPrintable(described.last()));
            QCOMPARE(control->geometry(), Rect(d.Bounds));
            if (!d.AccessibleName.empty()) {  // as a screen reader asks for it
                QAccessibleInterface* named = QAccessible::queryAccessibleInterface(control);
                QCOMPARE(named ? named->text(QAccessible::Name).toStdString() : "", std::string(d.AccessibleName));
            }
        }
        QCOMPARE(stacking, described);  // bottom to top
        const QPoint start = form->pos();
        input->PressAndLeave(Centre(form->Edit1), Centre(form->Edit1) + QPoint(35, 35), [] {});
        QTRY_COMPARE(QApplication::focusWidget(), form->Edit1);
        QCOMPARE(form->pos(), start);
        input->PressAndLeave(form->mapToGlobal(QPoint(60, 250)), form->mapToGlobal(QPoint(90, 270)), [] {});
        QTRY_COMPARE(form->pos(), start + QPoint(30, 20));
    }

    // What an input method commits, which no key of XTest's makes.
    void inputMethodTextPassesTheRules()
    {
        form->Edit3->setFocus(Qt::OtherFocusReason);
        const QImage empty = form->Edit3->grab().toImage();
        QInputMethodEvent composing(u"1"_s, {});  // shown as it is composed, before any commit
        QApplication::sendEvent(form->Edit3, &composing);
        QVERIFY(form->Edit3->grab().toImage() != empty);
        QInputMethodEvent commit;
        commit.setCommitString(u"1x2.3"_s);
        QApplication::sendEvent(form->Edit3, &commit);
        QCOMPARE(form->Edit3->text(), u"12,3"_s);
        form->Edit4->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(form->Edit4, u"12"_s);
        QInputMethodEvent over;  // a commit that replaces the text before the caret
        over.setCommitString(u"1.5"_s, -2, 2);
        QApplication::sendEvent(form->Edit4, &over);
        QCOMPARE(form->Edit4->text(), u"1,5"_s);
        // Several characters in one event: the second separator is judged
        // with the first already in.
        form->Edit5->setFocus(Qt::OtherFocusReason);
        QKeyEvent doubled(QEvent::KeyPress, 0, Qt::NoModifier, u",,"_s);
        QApplication::sendEvent(form->Edit5, &doubled);
        QCOMPARE(form->Edit5->text(), u","_s);
        form->ComboBox2->setFocus(Qt::OtherFocusReason);
        QInputMethodEvent intoSelector;
        intoSelector.setCommitString(u"16"_s);
        QApplication::sendEvent(form->ComboBox2, &intoSelector);
        QCOMPARE(form->ComboBox2->currentText(), QString());
    }

    // The whole window as the user sees it, pixel for pixel as it was when
    // it was last looked at and found right: the pictures, the fields, the
    // fonts, the labels and their places. KVORN_WRITE_REFERENCES=1 writes
    // new references after a deliberate change (look at them first).
    void looksAsItShould()
    {
        for (const QString& state : {u"start"_s, u"frigate"_s, u"long"_s}) {
            for (t::Step& step : t::ReferenceSteps(state.toStdString())) {  // as the random run takes them
                const QString fault = Drive(step, step.Kind == t::StepKind::LeftClick ? InText(step) : QPoint());
                QVERIFY2(fault.isEmpty(), qPrintable(state + u": "_s + fault));
            }
            if (QWidget* focus = QApplication::focusWidget())
                focus->clearFocus();  // no caret: it blinks
            const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QString name = u"qt-%1.png"_s.arg(state);
            const QString reference = QStringLiteral(KVORN_REFERENCE_DIR "/") + name;
            if (qEnvironmentVariableIsSet("KVORN_WRITE_REFERENCES"))
                QVERIFY(shown.save(reference));
            const bool same = shown == QImage(reference).convertToFormat(QImage::Format_RGB32);
            if (!same)
                shown.save(name);  // beside the test, to look at
            QVERIFY2(same, qPrintable(u"%1 differs from %2"_s.arg(name, reference)));
        }
#ifndef __SANITIZE_ADDRESS__  // which holds freed memory back, and finds leaks itself
        // Painting keeps nothing: a few hundred repaints leave the memory as it was.
        const auto resident = [] {
            long pages = 0, size = 0;
            std::ifstream("/proc/self/statm") >> size >> pages;
            return pages * sysconf(_SC_PAGESIZE);
        };
        const long before = resident();
        for (int i = 0; i < 300; ++i)
            form->repaint();
        QVERIFY2(resident() < before + (8l << 20), "bytes after 300 repaints");
#endif
    }
    // Moved to a screen of another scale, the window shows the background
    // and the buttons' pictures (clear on the left, exit on the right,
    // centred on their faces) drawn for it, and the 1x ones again once back;
    // between the scales they are drawn for, the next one above scaled down
    // smoothly. A box opens on the window's screen. Needs screens at 1, 2 and
    // 1.25 (the three-screen run).
    void thePicturesFollowTheScreensScale()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (screens.size() < 3 || screens[1]->devicePixelRatio() != 2 || screens[2]->devicePixelRatio() != 1.25)
            QSKIP(qPrintable(u"needs screens at 1, 2 and 1.25; found %1"_s.arg(screens.size())));
        for (QScreen* screen : {screens[1], screens[2], screens[0]}) {
            form->setScreen(screen);
            form->move(screen->geometry().topLeft() + QPoint(40, 40));
            const qreal ratio = screen->devicePixelRatio();
            QTRY_COMPARE(form->devicePixelRatioF(), ratio);
            input->Watch(form->winId());  // a window of its own on each X screen: its keys settle there
            QCOMPARE(form->size(), QSize(t::DescribedWindow.Width, t::DescribedWindow.Height));  // logical pixels
            presenter.ShowMessage("Не вбран тип корабля");  // on this screen too
            QVERIFY2(boxes->faults.isEmpty() && boxes->shown.size() == 1, qPrintable(boxes->faults.join(u"; "_s)));
            boxes->shown.clear();
            const qreal drawnFor = ratio <= 1 ? 1 : ratio <= 1.5 ? 1.5 : 2;
            const QString suffix = drawnFor == 1 ? QString() : drawnFor == 2 ? u"@2x"_s : u"@1.5x"_s;
            QFile file(QStringLiteral(KVORN_ASSETS_DIR "/background") + suffix + u".jpg"_s);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QImage drawn =
                DecodeJpeg(file.readAll(), JpegColours::Full).image.convertToFormat(QImage::Format_RGB32);
            const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
            if (drawnFor != ratio) {
                const double off = t::LevelsOffTheMean(ratio, drawnFor, [&](int x, int y) { return drawn.pixel(x, y); },
                                                       [&](int x, int y) { return shown.pixel(x, y); });
                QVERIFY2(off < 5, qPrintable(u"%1 levels off the picture's mean at %2"_s.arg(off).arg(ratio)));
                continue;
            }
            QCOMPARE(shown.size(), drawn.size());
            for (const QPoint at : {QPoint(3, 100), QPoint(192, 150), QPoint(100, 284), QPoint(20, 40), QPoint(60, 48)})
                QCOMPARE(QColor(shown.pixel(at * ratio)), QColor(drawn.pixel(at * ratio)));
            for (const auto& [button, name] : {std::pair{form->BitBtn1, u"clear"_s}, std::pair{form->BitBtn2, u"exit"_s}}) {
                const QImage picture = QImage(QStringLiteral(KVORN_ASSETS_DIR "/") + name + suffix + u".bmp"_s)
                                           .convertToFormat(QImage::Format_RGB32);
                const QImage face = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
                bool matched = false;
                for (int dx = 0; dx <= 4 && !matched; ++dx)
                    for (int dy = 0; dy <= 4 && !matched; ++dy)
                        matched = face == picture.copy(dx, dy, face.width(), face.height());
                QVERIFY2(matched, qPrintable(name + suffix));
            }
        }
    }
};

QTEST_MAIN(RealInputTest)
#include "real_input_test.moc"
