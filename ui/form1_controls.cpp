// The controls made from the form description, and their events wired to
// the form.

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "described_font.h"
#include "edit_selection.h"
#include "form1_window.h"
#include "keystroke_rule.h"
#include "picture_button.h"
#include "picture_scale.h"
#include "result_label.h"
#include "selector_box.h"
#include "wide_text.h"
#include "window_menu.h"

namespace kvorn {

namespace {

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

QWidget* Form1Window::Create(const kvorn::ControlDescription& d)
{
    QWidget* widget = nullptr;
    const QString text = Widen(d.Text);
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
            items.append(Widen(item));
        combo->addItems(items);  // one insertion: one round of the model's signals
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
        widget = combo;
        break;
    }
    case ControlKind::PictureButton: {
        auto* button = made(new PictureButton(this));
        button->setIconSize(QSize(kvorn::ButtonPictureSize.Width, kvorn::ButtonPictureSize.Height));
        widget = button;
        break;
    }
    }
    widget->setObjectName(Widen(d.Name));
    if (!d.AccessibleName.empty())
        widget->setAccessibleName(Widen(d.AccessibleName));
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
        Label1->setStyleSheet(QStringLiteral("color: rgb(%1, %2, %3);")
                                  .arg(kvorn::ResultColour.Red)
                                  .arg(kvorn::ResultColour.Green)
                                  .arg(kvorn::ResultColour.Blue));
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
        keystrokes_->Watch(edit, control);
        selection_->Watch(edit);
    } else if (auto* combo = qobject_cast<SelectorBox*>(widget)) {
        // A pick from the list, and an edit of the text by other means than
        // typing (Delete, cut, paste); never the program setting the text.
        connect(combo, &QComboBox::activated, this, [this, control] { form_.Changed(control); });
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, control] { form_.Changed(control); });
        // The text part and the list do not follow the combo box's font.
        combo->lineEdit()->setFont(combo->font());
        combo->view()->setFont(combo->font());
        keystrokes_->Watch(combo, control);
        keystrokes_->Watch(combo->view(), control, true);
    } else if (auto* button = qobject_cast<PictureButton*>(widget)) {
        connect(button, &QPushButton::clicked, this, [this, control] { form_.Clicked(control); });
    }
}

}  // namespace kvorn
