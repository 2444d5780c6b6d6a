#pragma once
// The calculator window. Data flow: every change of an input runs SUMM,
// which hands the eight texts, the selector's text, the current ship
// coefficients and the regional separator to the rating core and shows its
// answer: a score in Label1, the not-selected message, or an error through
// the presenter. Typed characters pass the core's keystroke rules first.

#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <map>

#include "ship_types.h"
#include "ui_tform1.h"

class MessagePresenter;

// A picture from the resources in a named format: Qt then uses its built-in
// reader at once instead of loading every image plugin to probe the bytes.
QPixmap LoadPicture(const QString& path, const char* format);
// The ship icon at the window's sizes.
QIcon ShipIcon();

class TForm1 : public QWidget, public Ui::TForm1 {
    Q_OBJECT
public:
    using SeparatorSource = std::function<char32_t()>;

    explicit TForm1(MessagePresenter& presenter, QWidget* parent = nullptr);
    ~TForm1() override;

    const kvorn::ShipCoefficients& Coefficients() const { return coefficients_; }
    char32_t Separator() const { return separator_; }
    // Where the regional separator is read from, now and on every notice of
    // changed settings.
    void SetSeparatorSource(SeparatorSource source);

    void SUMM();
    void Clear();

    // Keystroke handlers: each may rewrite the typed character or set it to 0.
    void Edit1KeyPress(QObject* Sender, char32_t& Key);
    void Edit2KeyPress(QObject* Sender, char32_t& Key);
    void Edit3KeyPress(QObject* Sender, char32_t& Key);
    void Edit4KeyPress(QObject* Sender, char32_t& Key);
    void Edit5KeyPress(QObject* Sender, char32_t& Key);
    void Edit6KeyPress(QObject* Sender, char32_t& Key);
    void Edit7KeyPress(QObject* Sender, char32_t& Key);
    void ComboBox1KeyPress(QObject* Sender, char32_t& Key);
    void ComboBox2KeyPress(QObject* Sender, char32_t& Key);

public slots:
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    void Edit4Change();
    void Edit5Change();
    void Edit6Change();
    void Edit7Change();
    void ComboBox1Change();
    void ComboBox2Change();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    using KeyHandler = void (TForm1::*)(QObject*, char32_t&);

    // Moves the window by its background: the platform's own move where it
    // has one, else by following the mouse.
    bool DragAnywhere(QMouseEvent* event);
    // Runs one event handler; a failure stops it there and is shown.
    template <class Work>
    void Handle(Work&& work);
    void DecimalKeyPress(QLineEdit* edit, char32_t& Key);
    QString FilterTyped(QObject* control, const QString& typed);
    // Delivers the filtered replacement of a typed event, unfiltered.
    void Forward(QObject* control, QEvent* event);
    void LoadPictures();
    void LoadButtonPictures();
    void ApplyFonts();

    MessagePresenter& presenter_;
    kvorn::ShipCoefficients coefficients_;
    SeparatorSource separatorSource_;
    char32_t separator_ = U'.';
    std::map<QObject*, KeyHandler> keyHandlers_;
    bool forwarding_ = false;  // a rewritten keystroke on its way to the control
    bool dragging_ = false;
    QPoint dragOffset_;
};
