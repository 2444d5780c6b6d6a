// The calculator window driven as a user would: keys and clicks.

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <fstream>
#include <memory>

#include <unistd.h>

#include "described_font.h"
#include "message_presenter.h"
#include "form1_window.h"
#include "selector_box.h"
#include "described_window.h"
#include "worked_ships.h"

using namespace Qt::StringLiterals;
using namespace kvorn;
namespace t = kvorn::test;

static QString Q(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
static QRect Rect(const t::DescribedRect& r) { return {r.Left, r.Top, r.Width, r.Height}; }

// No step here shows a box: any that would is a fault.
struct BoxesShown : kvorn::MessagePresenter {
    QStringList texts;
    void ShowMessage(std::string_view text) override { texts << Q(text); }
    void ShowError(std::string_view message) override { ShowMessage(message); }
};

class FormTest : public QObject {
    Q_OBJECT

private:
    BoxesShown presenter;
    std::unique_ptr<Form1Window> form;
    char32_t separator = U',';

    void Show()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // Picks list item `index` of a selector with its own navigation keys.
    void Pick(QComboBox* combo, int index)
    {
        combo->setFocus(Qt::OtherFocusReason);
        if (combo->currentIndex() > index || combo->currentIndex() < 0)
            combo->setCurrentIndex(-1);
        while (combo->currentIndex() < index)
            QTest::keyClick(combo, Qt::Key_Down);
    }

    void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // Enters the first worked ship the way the window reads top to bottom.
    void EnterFrigate()
    {
        const t::WorkedShip& ship = t::Frigate;
        Pick(form->ComboBox1, form->ComboBox1->findText(Q(ship.Type)));
        QLineEdit* edits[] = {form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5, form->Edit6, form->Edit7};
        for (int i : {0, 2, 3, 4, 1, 5, 6})
            Type(edits[i], Q(ship.Figures[std::size_t(i)]));
        Pick(form->ComboBox2, form->ComboBox2->findText(Q(ship.Caliber)));
    }

private slots:
    void init()
    {
        presenter.texts.clear();
        separator = U',';
        form = std::make_unique<Form1Window>(presenter);
        form->SetSeparatorSource([this] { return separator; });
    }
    void cleanup()
    {
        form.reset();
        QVERIFY2(presenter.texts.isEmpty(), qPrintable(presenter.texts.join(u'\n')));
    }

    void window()
    {
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(form->windowTitle(), u"Кворн калькулятор v1.1.1 c12a"_s);
        QCOMPARE(form->objectName(), u"Form1"_s);
        QTRY_VERIFY(!form->windowIcon().isNull());  // it follows in the event loop
        QCOMPARE(form->font().pixelSize(), t::DescribedWindowFontPixels);
        QCOMPARE(form->Label2->text(), u"/"_s);  // too narrow for a picture to show more
    }

    // Each control where the description puts it, with its tab stop,
    // maximum length, face and name for a screen reader. (The tab order the
    // random run walks against the form's.)
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
            QCOMPARE(control->focusPolicy() != Qt::NoFocus, d.TabOrder >= 0);
            if (!d.AccessibleName.empty()) {  // as a screen reader asks for it
                QAccessibleInterface* named = QAccessible::queryAccessibleInterface(control);
                QCOMPARE(named ? named->text(QAccessible::Name).toStdString() : "", std::string(d.AccessibleName));
            }
            if (auto* edit = qobject_cast<QLineEdit*>(control))
                QCOMPARE(edit->maxLength(), d.MaxLength);
            if (d.Id != kvorn::Control::Image1 && d.Id != kvorn::Control::BitBtn1 && d.Id != kvorn::Control::BitBtn2) {
                QCOMPARE(control->font().pixelSize(), d.FontPixels);
                QCOMPARE(control->font().bold(), d.Bold);
            }
        }
        QCOMPARE(stacking, described);  // bottom to top
    }

    void inputMethodTextPassesTheRules()
    {
        Show();
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

    // A described face that is missing has a stand-in a tenth narrower; one
    // that is there keeps its own width.
    void standInsAreATenthNarrower()
    {
        QCOMPARE(DescribedFont({"DejaVu Sans", 11, false}).stretch(), QFont().stretch());
        if (!QFontDatabase::families().contains(u"Verdana"_s, Qt::CaseInsensitive))
            QCOMPARE(DescribedFont({"Verdana", 11, false}).stretch(), 90);
    }

    void separatorFollowsTheRegionalSettings()
    {
        const QByteArray user = qgetenv("LC_ALL");
        qputenv("LC_ALL", "ru_RU.UTF-8");  // the user's settings as the window is made
        Form1Window made(presenter);
        user.isEmpty() ? qunsetenv("LC_ALL") : qputenv("LC_ALL", user);
        QTest::keyClicks(made.Edit3, u"1.5"_s);
        QCOMPARE(made.Edit3->text(), u"1,5"_s);
        Show();
        QCOMPARE(form->Separator(), U',');
        separator = U'.';
        QEvent changed(QEvent::LocaleChange);
        QApplication::sendEvent(qApp, &changed);
        QCOMPARE(form->Separator(), U'.');
        EnterFrigate();
        QCOMPARE(form->Edit3->text(), u"14.5"_s);  // the filter writes the new one
        QCOMPARE(form->Label1->text().toStdString(), t::Frigate.Label);  // and the conversion reads it
    }

    // The whole window as the user sees it, pixel for pixel as it was when
    // it was last looked at and found right: the pictures, the fields, the
    // fonts, the labels and their places. KVORN_WRITE_REFERENCES=1 writes
    // new references after a deliberate change (look at them first).
    void looksAsItShould_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("at start") << u"start"_s;
        QTest::newRow("frigate rated") << u"frigate"_s;
        QTest::newRow("long result") << u"long"_s;
    }
    void looksAsItShould()
    {
        QFETCH(QString, state);
        Show();
        if (state == u"frigate"_s) {
            EnterFrigate();
        } else if (state == u"long"_s) {
            Pick(form->ComboBox1, form->ComboBox1->findText(Q(t::Frigate.Type)));
            QGuiApplication::clipboard()->setText(u"1e20"_s);  // pasted past the field's keystroke rule
            form->Edit1->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(form->Edit1, Qt::Key_Insert, Qt::ShiftModifier);
            for (QLineEdit* edit : {form->Edit3, form->Edit4, form->Edit5, form->Edit2, form->Edit6, form->Edit7})
                Type(edit, u"1"_s);
            Pick(form->ComboBox2, 0);
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

};

QTEST_MAIN(FormTest)
#include "form_test.moc"
