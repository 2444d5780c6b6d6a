#include "form1_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QWindow>

#include "described_font.h"
#include "edit_selection.h"
#include "form_description.h"
#include "keystroke_gate.h"
#include "message_presenter.h"
#include "picture_button.h"
#include "pictures.h"
#include "regional_settings.h"
#include "result_label.h"
#include "selector_box.h"
#include "ship_types.h"
#include "window_menu.h"

using kvorn::Control;
using kvorn::ControlKind;

namespace {

constexpr const char* StyleSheet =
    "QLineEdit, QComboBox { background-color: palette(button); border: 1px solid #5b3b16; border-radius: 0px;"
    " padding: 0px; }\n"
    "QLineEdit:focus, QComboBox:focus { border: 1px solid #1d4a73; }\n"
    "QComboBox::drop-down { subcontrol-origin: padding; subcontrol-position: top right; width: 15px;"
    " border-left: 1px solid #8a6a42; background-color: #d9c7a0; }";

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// Lists show one item per ListItemHeight pixels.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kvorn::ListItemHeight};
    }
};

}  // namespace

Form1Window::Form1Window(MessagePresenter& presenter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      presenter_(presenter),
      form_(*this),
      separatorSource_(kvorn::RegionalSeparator),
      gate_(new KeystrokeGate(form_, this)),
      selection_(new EditSelection(this)),
      menu_(new WindowMenu(form_, this))
{
    SubstitutePlatformFaces();
    const kvorn::WindowDescription& window = kvorn::Form1Properties;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(FromUtf8(window.Caption));
    setStyleSheet(QString::fromLatin1(StyleSheet));
    setFixedSize(window.Bounds.Width, window.Bounds.Height);
    move(window.Bounds.Left, window.Bounds.Top);

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
    gate_->Unwatch();
    for (auto& entry : controls_)
        delete entry.second;
    controls_.clear();
}

QWidget* Form1Window::Create(const kvorn::ControlDescription& d)
{
    QWidget* widget = nullptr;
    const QString text = FromUtf8(d.Text);
    // Each control takes its font and place before its contents: a combo
    // box lays its list out again at every change of font, and measures its
    // items to size itself when made editable unless it has a size.
    const QFont font = DescribedFont(d.Font);
    const auto made = [&font, &d](auto* control) {
        control->setFont(font);
        control->setGeometry(d.Bounds.Left, d.Bounds.Top, d.Bounds.Width, d.Bounds.Height);
        return control;
    };
    switch (d.Kind) {
    case ControlKind::Picture: {
        auto* picture = made(new QLabel(this));
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = picture;
        break;
    }
    case ControlKind::Label: {
        // The result draws itself whole; the "/" is an ordinary label.
        QLabel* label = d.Id == Control::Label1 ? new ResultLabel(text, this) : new QLabel(text, this);
        widget = made(label);
        break;
    }
    case ControlKind::Edit: {
        auto* edit = made(new QLineEdit(text, this));
        edit->setMaxLength(d.MaxLength > 0 ? d.MaxLength : 32767);
        widget = edit;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = made(new SelectorBox(this));
        combo->MakeEditable();
        combo->setMaxVisibleItems(kvorn::ListVisibleItems);
        combo->setItemDelegate(new FixedHeightDelegate(combo));
        QStringList items;
        for (std::string_view item : kvorn::ListItems(d.Id))
            items.append(FromUtf8(item));
        combo->addItems(items);  // one insertion: one round of the model's signals
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
        widget = combo;
        break;
    }
    case ControlKind::PictureButton: {
        auto* button = made(new PictureButton(this));
        button->setIconSize(QSize(81, 22));
        widget = button;
        break;
    }
    }
    widget->setObjectName(FromUtf8(d.Name));
    if (!d.AccessibleName.empty())
        widget->setAccessibleName(FromUtf8(d.AccessibleName));
    if (d.TabOrder < 0)
        widget->setFocusPolicy(Qt::NoFocus);
    return widget;
}

void Form1Window::Wire(Control control, QWidget* widget)
{
    switch (control) {
    case Control::Image1: Image1 = static_cast<QLabel*>(widget); break;
    case Control::Label2: Label2 = static_cast<QLabel*>(widget); break;
    case Control::Label1:
        Label1 = static_cast<QLabel*>(widget);
        Label1->setAlignment(Qt::AlignCenter);
        Label1->setStyleSheet(QStringLiteral("color: black;"));
        static_cast<ResultLabel*>(Label1)->SetDescriber(
            [this] { return QString::fromStdString(form_.ResultDescription()); });
        break;
    case Control::Edit1: Edit1 = static_cast<QLineEdit*>(widget); break;
    case Control::Edit2: Edit2 = static_cast<QLineEdit*>(widget); break;
    case Control::Edit3: Edit3 = static_cast<QLineEdit*>(widget); break;
    case Control::Edit4: Edit4 = static_cast<QLineEdit*>(widget); break;
    case Control::Edit5: Edit5 = static_cast<QLineEdit*>(widget); break;
    case Control::Edit6: Edit6 = static_cast<QLineEdit*>(widget); break;
    case Control::Edit7: Edit7 = static_cast<QLineEdit*>(widget); break;
    case Control::ComboBox1: ComboBox1 = static_cast<SelectorBox*>(widget); break;
    case Control::ComboBox2: ComboBox2 = static_cast<SelectorBox*>(widget); break;
    case Control::BitBtn1: BitBtn1 = static_cast<PictureButton*>(widget); break;
    case Control::BitBtn2: BitBtn2 = static_cast<PictureButton*>(widget); break;
    }

    if (kvorn::Describe(control).TabOrder >= 0)
        menu_->Watch(widget);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textChanged, this, [this, control] { form_.Changed(control); });
        gate_->Watch(edit, control);
        selection_->Watch(edit);
    } else if (auto* combo = qobject_cast<SelectorBox*>(widget)) {
        // A pick from the list, and an edit of the text by other means than
        // typing (Delete, cut, paste); never the program setting the text.
        connect(combo, &QComboBox::activated, this, [this, control] { form_.Changed(control); });
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, control] { form_.Changed(control); });
        // The text part and the list do not follow the combo box's font.
        combo->lineEdit()->setFont(combo->font());
        combo->view()->setFont(combo->font());
        gate_->Watch(combo, control);
        gate_->Watch(combo->view(), control, true);
    } else if (auto* button = qobject_cast<PictureButton*>(widget)) {
        connect(button, &QPushButton::clicked, this, [this, control] { form_.Clicked(control); });
    }
}

void Form1Window::LoadPictures()
{
    // Drawn for the screen's scale, so that the lettering on the picture is
    // as sharp as the controls' text.
    const qreal ratio = devicePixelRatioF();
    JpegResult picture = BackgroundPicture(screen() ? screen()->depth() : 24, ratio);
    if (picture.image.isNull())
        presenter_.ShowError(QStringLiteral("The background picture cannot be shown: ") + picture.error);
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

std::string Form1Window::Text(Control control) const
{
    const QWidget* widget = controls_.at(control);
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText().toStdString();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text().toStdString();
    return {};
}

void Form1Window::SetText(Control control, std::string_view text)
{
    QWidget* widget = controls_.at(control);
    const QString value = FromUtf8(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // A listed text selects its item, so that the list opens there and
        // the arrow keys go on from it.
        const int item = combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
        combo->setCurrentIndex(item);
        if (item < 0)
            combo->setEditText(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    }
}

void Form1Window::Focus(Control control) { controls_.at(control)->setFocus(Qt::OtherFocusReason); }
void Form1Window::ShowMessage(std::string_view text) { presenter_.ShowMessage(FromUtf8(text)); }
void Form1Window::ShowError(std::string_view message) { presenter_.ShowError(FromUtf8(message)); }
void Form1Window::Close() { close(); }
std::string Form1Window::ClipboardText() const { return WindowMenu::ClipboardText(); }
void Form1Window::SetClipboardText(std::string_view text) { WindowMenu::SetClipboardText(text); }

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
