#include "form1_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

#include "described_font.h"
#include "edit_selection.h"
#include "keystroke_rule.h"
#include "message_presenter.h"
#include "picture_button.h"
#include "pictures.h"
#include "regional_settings.h"
#include "selector_box.h"
#include "wide_text.h"
#include "window_menu.h"

namespace kvorn {

namespace {

constexpr const char* StyleSheet =
    "QLineEdit, QComboBox { background-color: palette(button); border: 1px solid #5b3b16; border-radius: 0px;"
    " padding: 0px; }\n"
    "QLineEdit:focus, QComboBox:focus { border: 1px solid #1d4a73; }\n"
    "QComboBox::drop-down { subcontrol-origin: padding; subcontrol-position: top right; width: 15px;"
    " border-left: 1px solid #8a6a42; background-color: #d9c7a0; }";

}  // namespace

Form1Window::Form1Window(MessagePresenter& presenter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      presenter_(presenter),
      form_(*this),
      separatorSource_(kvorn::RegionalSeparator),
      keystrokes_(new KeystrokeRule(form_, this)),
      selection_(new EditSelection(this)),
      menu_(new WindowMenu(form_, this))
{
    SubstitutePlatformFaces();
    const kvorn::WindowDescription& window = kvorn::Form1Properties;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Widen(window.Caption));
    setStyleSheet(QString::fromLatin1(StyleSheet));
    setFixedSize(window.Bounds.Width, window.Bounds.Height);
    move(window.Bounds.Left, window.Bounds.Top);
    // Kept above a game, it is seldom the active window: the result's tip
    // shows all the same, as the Windows one does.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    // Created in stacking order, bottom to top, under the fields' font as
    // both the application's and this window's: an edit lays its text out
    // as it is made, first in the default font and then in its parent's,
    // and either would load a face no control shows.
    const QFont applicationFont = QApplication::font();
    const QFont fieldFont = DescribedFont(kvorn::Describe(Control::Edit1).Font);
    QApplication::setFont(fieldFont);
    setFont(fieldFont);
    for (const kvorn::ControlDescription& description : kvorn::Form1Controls)
        controls_[description.Id] = Create(description);
    QApplication::setFont(applicationFont);
    const std::vector<Control> tabOrder = kvorn::TabOrder();
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(controls_.at(tabOrder[i - 1]), controls_.at(tabOrder[i]));
    // Set once every control has its own font, so that none is laid out in
    // this one first: no control shows text in it.
    setFont(DescribedFont(window.Font));
    for (auto& [control, widget] : controls_)
        Wire(control, widget);
    LoadPictures();

    form_.SetSeparator(separatorSource_());
    ComboBox1->setFocus();
}

Form1Window::~Form1Window()
{
    // The controls go while the form they report to still exists.
    keystrokes_->Unwatch();
    for (auto& entry : controls_)
        delete entry.second;
    controls_.clear();
}

void Form1Window::LoadPictures()
{
    // Drawn for the screen's scale, so that the lettering on the picture is
    // as sharp as the controls' text.
    const qreal ratio = devicePixelRatioF();
    JpegResult picture = BackgroundPicture(screen() ? screen()->depth() : 24, ratio);
    if (picture.image.isNull())
        presenter_.ShowError("The background picture cannot be shown: " + picture.error.toStdString());
    else
        Image1->setPixmap(QPixmap::fromImage(std::move(picture.image)));  // in place: no copy to touch
    BitBtn1->setIcon(ButtonPicture("clear", ratio));
    BitBtn2->setIcon(ButtonPicture("exit", ratio));
    // The icon is not drawn in the window: it follows in the event loop's
    // first pass, once the window is on the screen.
    if (windowIcon().isNull())
        QMetaObject::invokeMethod(this, [this] { setWindowIcon(ShipIcon()); }, Qt::QueuedConnection);
}

void Form1Window::SetSeparatorSource(SeparatorSource source)
{
    separatorSource_ = std::move(source);
    form_.SetSeparator(separatorSource_());
}

void Form1Window::contextMenuEvent(QContextMenuEvent* event) { menu_->Requested(event); }

void Form1Window::showEvent(QShowEvent* event)
{
    // Moved to a screen of another scale, the window takes the pictures
    // drawn for it. Its native window exists only once it is shown.
    if (QWindow* window = windowHandle(); window && !screenChanged_)
        screenChanged_ = connect(window, &QWindow::screenChanged, this, [this] { LoadPictures(); });
    QWidget::showEvent(event);
}

void Form1Window::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        form_.SetSeparator(separatorSource_());
    QWidget::changeEvent(event);
}

void Form1Window::DragAnywhere(QMouseEvent* event)
{
    if (QWindow* window = windowHandle(); window && window->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void Form1Window::mousePressEvent(QMouseEvent* event)
{
    // Reached only from the picture, the labels and the bare window: the
    // edits, combo boxes and buttons take their own presses.
    if (event->button() == Qt::LeftButton) {
        DragAnywhere(event);
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void Form1Window::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void Form1Window::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

}  // namespace kvorn
