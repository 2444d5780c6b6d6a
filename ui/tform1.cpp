#include "tform1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QWindow>

#include <exception>

#include "jpeg_image.h"
#include "keystroke_filters.h"
#include "message_presenter.h"
#include "regional_settings.h"
#include "final_point.h"
#include "rating_error.h"
#include "score.h"

#ifdef Q_OS_WIN
#include <windows.h>
#include <windowsx.h>
#endif

// The pictures live in this static library; make sure the linker keeps them.
static void InitialisePictures() { Q_INIT_RESOURCE(assets); }

QPixmap LoadPicture(const QString& path, const char* format)
{
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon ShipIcon()
{
    InitialisePictures();
    // The window's own sizes; menus and launchers take the icon theme's.
    QIcon icon;
    for (int size : {32, 64})
        icon.addPixmap(LoadPicture(QStringLiteral(":/kvorn/icon-%1.png").arg(size), "png"));
    return icon;
}

namespace {

// Lists show one item per 16 pixels.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 16};
    }
};

void SetPixelSize(QWidget* widget, int pixels)
{
    QFont font = widget->font();
    font.setPixelSize(pixels);
    // The stand-ins are wider than the narrow face the fields were sized
    // for: three bold digits must fit a crew field.
    if (QFontInfo(font).family() != font.family())
        font.setStretch(90);
    widget->setFont(font);
}

// A typed character is what the platform would hand a control as one:
// Tab moves the focus and Delete edits, neither of them types.
bool IsTypedCharacter(const QKeyEvent* event)
{
    if (event->text().isEmpty())
        return false;
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return false;
    default:
        return true;
    }
}

std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace

TForm1::TForm1(MessagePresenter& presenter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      presenter_(presenter),
      separatorSource_(kvorn::RegionalSeparator)
{
    InitialisePictures();
    // The form names the platform's faces; where they are missing these stand in.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});

    setupUi(this);
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(196, 317);
    move(444, 196);
    ApplyFonts();
    LoadPictures();
    LoadButtonPictures();

    // Selection shown only in the focused edit: when the window loses the
    // focus it is drawn in the field's own colours.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Button));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::WindowText));
    setPalette(palette);

    for (QComboBox* combo : {ComboBox1, ComboBox2}) {
        combo->setItemDelegate(new FixedHeightDelegate(combo));
        combo->installEventFilter(this);
    }
    // Edits of a selector's text by other means than typing (Delete, cut,
    // paste) count as a change, as a pick from its list does.
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, &TForm1::ComboBox1Change);
    connect(ComboBox2->lineEdit(), &QLineEdit::textEdited, this, &TForm1::ComboBox2Change);

    keyHandlers_ = {
        {Edit1, &TForm1::Edit1KeyPress},         {Edit2, &TForm1::Edit2KeyPress},
        {Edit3, &TForm1::Edit3KeyPress},         {Edit4, &TForm1::Edit4KeyPress},
        {Edit5, &TForm1::Edit5KeyPress},         {Edit6, &TForm1::Edit6KeyPress},
        {Edit7, &TForm1::Edit7KeyPress},         {ComboBox1, &TForm1::ComboBox1KeyPress},
        {ComboBox2, &TForm1::ComboBox2KeyPress},
    };
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7})
        edit->installEventFilter(this);

    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString::fromUtf8(kvorn::PlaceholderText.data(), kvorn::PlaceholderText.size()));
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->setEditText(QString());
    separator_ = separatorSource_();
    ComboBox1->setFocus();
}

TForm1::~TForm1()
{
    // The controls go before this object's members; stop filtering them.
    for (auto& entry : keyHandlers_)
        entry.first->removeEventFilter(this);
}

void TForm1::ApplyFonts()
{
    SetPixelSize(this, 11);
    SetPixelSize(Label2, 13);
    SetPixelSize(Label1, 19);
    for (QWidget* w : std::initializer_list<QWidget*>{Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, ComboBox1, ComboBox2})
        SetPixelSize(w, 13);
    for (QComboBox* combo : {ComboBox1, ComboBox2}) {
        combo->lineEdit()->setFont(combo->font());
        combo->view()->setFont(combo->font());
    }
}

void TForm1::LoadPictures()
{
    QFile file(QStringLiteral(":/kvorn/background.jpg"));
    file.open(QIODevice::ReadOnly);
    const int depth = screen() ? screen()->depth() : 24;
    const JpegResult picture = DecodeJpeg(file.readAll(), depth <= 8 ? JpegColours::Quantised : JpegColours::Full);
    if (picture.image.isNull()) {
        presenter_.ShowError(QStringLiteral("The background picture cannot be shown: ") + picture.error);
        return;
    }
    Image1->setPixmap(QPixmap::fromImage(picture.image));
}

void TForm1::LoadButtonPictures()
{
    BitBtn1->setIcon(LoadPicture(QStringLiteral(":/kvorn/clear.bmp"), "bmp"));
    BitBtn2->setIcon(LoadPicture(QStringLiteral(":/kvorn/exit.bmp"), "bmp"));
    setWindowIcon(ShipIcon());
}

void TForm1::SetSeparatorSource(SeparatorSource source)
{
    separatorSource_ = std::move(source);
    separator_ = separatorSource_();
}

template <class Work>
void TForm1::Handle(Work&& work)
{
    // Qt is built without exceptions: nothing may leave this frame.
    try {
        work();
    } catch (const kvorn::RatingError& error) {
        presenter_.ShowError(QString::fromStdString(error.message()));
    } catch (const std::exception& error) {
        presenter_.ShowError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        presenter_.ShowError(QStringLiteral("Unknown error"));
    }
}

void TForm1::SUMM()
{
    const std::string hull = Utf8(Edit1->text()), hold = Utf8(Edit2->text()), speed = Utf8(Edit3->text()),
                      manoeuvrability = Utf8(Edit4->text()), closeHauled = Utf8(Edit5->text()),
                      crew1 = Utf8(Edit6->text()), crew2 = Utf8(Edit7->text()), caliber = Utf8(ComboBox2->currentText());
    const kvorn::ScoreInputs inputs = {hull, hold, speed, manoeuvrability, closeHauled, crew1, crew2, caliber};
    const kvorn::ScoreResult result =
        kvorn::ComputeScore(inputs, Utf8(ComboBox1->currentText()), coefficients_, separator_);
    switch (result.Outcome) {
    case kvorn::ScoreOutcome::NothingToDo:
        return;
    case kvorn::ScoreOutcome::NotSelected:
        presenter_.ShowMessage(QString::fromStdString(result.Text));
        return;
    case kvorn::ScoreOutcome::Score:
        Label1->setText(QString::fromStdString(result.Text));
        return;
    }
}

void TForm1::Clear()
{
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7})
        edit->setText(QString());
    Label1->setText(QString());
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString::fromUtf8(kvorn::PlaceholderText.data(), kvorn::PlaceholderText.size()));
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->setEditText(QString());
    ComboBox1->setFocus(Qt::OtherFocusReason);
}

void TForm1::Edit1Change() { Handle([this] { SUMM(); }); }
void TForm1::Edit2Change() { Handle([this] { SUMM(); }); }
void TForm1::Edit3Change() { Handle([this] { SUMM(); }); }
void TForm1::Edit4Change() { Handle([this] { SUMM(); }); }
void TForm1::Edit5Change() { Handle([this] { SUMM(); }); }
void TForm1::Edit6Change() { Handle([this] { SUMM(); }); }
void TForm1::Edit7Change() { Handle([this] { SUMM(); }); }
void TForm1::ComboBox2Change() { Handle([this] { SUMM(); }); }

void TForm1::ComboBox1Change()
{
    Handle([this] {
        kvorn::SelectShipType(Utf8(ComboBox1->currentText()), coefficients_);
        SUMM();
    });
}

void TForm1::BitBtn1Click() { Handle([this] { Clear(); }); }
void TForm1::BitBtn2Click() { close(); }

void TForm1::Edit1KeyPress(QObject*, char32_t& Key) { kvorn::DigitFilter(Key); }
void TForm1::Edit2KeyPress(QObject*, char32_t& Key) { kvorn::DigitFilter(Key); }
void TForm1::Edit3KeyPress(QObject*, char32_t& Key) { DecimalKeyPress(Edit3, Key); }
void TForm1::Edit4KeyPress(QObject*, char32_t& Key) { DecimalKeyPress(Edit4, Key); }
void TForm1::Edit5KeyPress(QObject*, char32_t& Key) { DecimalKeyPress(Edit5, Key); }
void TForm1::Edit6KeyPress(QObject*, char32_t& Key) { kvorn::DigitFilter(Key); }
void TForm1::Edit7KeyPress(QObject*, char32_t& Key) { kvorn::DigitFilter(Key); }
void TForm1::ComboBox1KeyPress(QObject*, char32_t& Key) { kvorn::BlockAllFilter(Key); }
void TForm1::ComboBox2KeyPress(QObject*, char32_t& Key) { kvorn::BlockAllFilter(Key); }

void TForm1::DecimalKeyPress(QLineEdit* edit, char32_t& Key)
{
    kvorn::DecimalFilter(Key, Utf8(edit->text()), separator_);
}

QString TForm1::FilterTyped(QObject* control, const QString& typed)
{
    const KeyHandler handler = keyHandlers_.at(control);
    QString kept;
    for (char32_t key : typed.toUcs4()) {
        (this->*handler)(control, key);
        if (key != 0)
            kept += QString::fromUcs4(&key, 1);
    }
    return kept;
}

void TForm1::Forward(QObject* control, QEvent* event)
{
    forwarding_ = true;
    QCoreApplication::sendEvent(control, event);
    forwarding_ = false;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (!keyHandlers_.count(watched))
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (forwarding_ || !IsTypedCharacter(key))
            break;
        const QString kept = FilterTyped(watched, key->text());
        if (kept == key->text())
            break;
        if (!kept.isEmpty()) {
            // Rewritten (a point became the separator): type that instead.
            QKeyEvent rewritten(QEvent::KeyPress, 0, key->modifiers(), kept);
            Forward(watched, &rewritten);
        }
        return true;
    }
    case QEvent::InputMethod: {
        // Text an input method commits is typed text too.
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (forwarding_ || input->commitString().isEmpty())
            break;
        const QString kept = FilterTyped(watched, input->commitString());
        if (kept == input->commitString())
            break;
        QInputMethodEvent filtered(input->preeditString(), input->attributes());
        filtered.setCommitString(kept, input->replacementStart(), input->replacementLength());
        Forward(watched, &filtered);
        return true;
    }
    case QEvent::FocusIn: {
        // Select the whole text unless the focus came by a left click, so
        // typing replaces it; Qt alone does this only for Tab and shortcuts.
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const auto* focus = static_cast<QFocusEvent*>(event);
        const bool leftClick =
            focus->reason() == Qt::MouseFocusReason && (QGuiApplication::mouseButtons() & Qt::LeftButton);
        if (edit && !leftClick && focus->reason() != Qt::PopupFocusReason)
            edit->selectAll();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        separator_ = separatorSource_();
    QWidget::changeEvent(event);
}

bool TForm1::DragAnywhere(QMouseEvent* event)
{
    if (QWindow* window = windowHandle(); window && window->startSystemMove())
        return true;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    return true;
}

void TForm1::mousePressEvent(QMouseEvent* event)
{
    // Reached only from the picture, the labels and the bare window: the
    // edits, combo boxes and buttons take their own presses.
    if (event->button() == Qt::LeftButton && DragAnywhere(event)) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void TForm1::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void TForm1::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

#ifdef Q_OS_WIN
bool TForm1::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    auto* msg = static_cast<MSG*>(message);
    if (eventType == "windows_generic_MSG" && msg->message == WM_NCHITTEST) {
        // Let the default answer come first; the client area outside the
        // controls then answers as a title bar would.
        const LRESULT answer = DefWindowProcW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
        const QPoint at = mapFromGlobal(QPoint(GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)));
        QWidget* under = childAt(at);
        const bool background = !under || under == Image1 || under == Label1 || under == Label2;
        *result = answer == HTCLIENT && background ? HTCAPTION : answer;
        return true;
    }
    return QWidget::nativeEvent(eventType, message, result);
}
#endif
