// The Qt window on a real X server, driven through XTest as a user drives
// it: the pointer, the wheel and the keys the server sends, with Qt's own
// delivery steps (focus before a wheel, the text of a key) in the way.

#include <QAbstractItemView>
#include <QAccessible>
#include <QToolTip>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "form1_window.h"
#include "real_input.h"
#include "recording_presenter.h"
#include "selector_box.h"

using namespace Qt::StringLiterals;

class RealInputTest : public QObject {
    Q_OBJECT

    RecordingPresenter presenter;
    std::unique_ptr<Form1Window> form;
    std::unique_ptr<RealInput> input;

    static QPoint Centre(QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); }
    // A point in a selector's text part, clear of its arrow.
    static QPoint TextOf(QComboBox* combo) { return combo->mapToGlobal(QPoint(8, combo->height() / 2)); }

    // Every figure filled in, the ship type left as the placeholder: each
    // recomputation then shows one message, so the messages count the
    // recomputations.
    void FillFigures()
    {
        for (QLineEdit* edit : {form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5, form->Edit6, form->Edit7})
            edit->setText(u"1"_s);
        presenter.Forget();
    }

private slots:
    void initTestCase()
    {
        input = std::make_unique<RealInput>();
        QVERIFY2(input->Ready(), "no X server with XTest");
    }
    void init()
    {
        presenter.Forget();
        form = std::make_unique<Form1Window>(presenter);
        form->SetSeparatorSource([] { return U','; });
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        input->MoveTo(form->mapToGlobal(QPoint(3, 150)));  // over the picture, clear of every control
    }
    void cleanup() { form.reset(); }

    void focusStartsOnTheShipSelector() { QTRY_COMPARE(QApplication::focusWidget(), form->ComboBox1); }

    // Resting on a selector without clicking, the wheel changes nothing and
    // takes no focus; once the selector has the focus, it picks.
    void wheelChangesOnlyAFocusedSelector_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::newRow("ship") << u"ComboBox1"_s;
        QTest::newRow("caliber") << u"ComboBox2"_s;
    }
    void wheelChangesOnlyAFocusedSelector()
    {
        QFETCH(QString, selector);
        auto* combo = form->findChild<QComboBox*>(selector);
        combo->setCurrentIndex(1);
        const QString before = combo->currentText();
        input->Click(Centre(form->Edit1));
        QTRY_COMPARE(QApplication::focusWidget(), form->Edit1);
        input->Wheel(TextOf(combo), -2);
        QCOMPARE(combo->currentText(), before);
        QCOMPARE(QApplication::focusWidget(), form->Edit1);
        input->Click(TextOf(combo));
        QTRY_VERIFY(combo->hasFocus());
        input->Wheel(TextOf(combo), -1);
        QTRY_COMPARE(combo->currentIndex(), 2);
    }

    // A pick with the mouse: the arrow opens the list, a click on an item
    // picks it, and that is one change.
    void aMousePickIsOneChange_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("item");
        QTest::newRow("caliber 24") << u"ComboBox2"_s << 2;
        QTest::newRow("ship 3") << u"ComboBox1"_s << 3;
    }
    void aMousePickIsOneChange()
    {
        QFETCH(QString, selector);
        QFETCH(int, item);
        FillFigures();
        auto* combo = form->findChild<QComboBox*>(selector);
        if (combo == form->ComboBox1)
            form->ComboBox2->setCurrentIndex(0);  // the caliber in, the placeholder gone once picked
        input->Click(combo->mapToGlobal(QPoint(combo->width() - 7, combo->height() / 2)));
        QAbstractItemView* list = combo->view();
        QTRY_VERIFY(list->isVisible());
        const QRect row = list->visualRect(list->model()->index(item, 0));
        input->Click(list->viewport()->mapToGlobal(row.center()));
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(combo->currentIndex(), item);
        QTest::qWait(100);
        if (combo == form->ComboBox2) {
            QCOMPARE(presenter.messages, QStringList{u"Не вбран тип корабля"_s});
        } else {
            QVERIFY(presenter.messages.isEmpty());
            QCOMPARE(form->Coefficients().CannonCount, 56);  // Варшип
            QVERIFY(!form->Label1->text().isEmpty());
        }
        QVERIFY(presenter.errors.isEmpty());
    }

    // The Delete key carries a character on X11, yet it edits: in a field
    // and in a selector's text, where it is a change.
    void deleteEditsFieldsAndSelectors()
    {
        FillFigures();
        form->Edit1->setText(u"123"_s);
        input->Click(Centre(form->Edit1));
        input->Key("Home");
        input->Key("Delete");
        QCOMPARE(form->Edit1->text(), u"23"_s);
        form->ComboBox2->setCurrentIndex(1);
        presenter.Forget();
        input->Click(TextOf(form->ComboBox2));
        input->Key("Home");
        input->Key("Delete");
        QCOMPARE(form->ComboBox2->currentText(), u"6"_s);
        QCOMPARE(presenter.messages.size(), 1);
        input->Key("End");
        input->Key("BackSpace");  // a typed character: the selector takes none
        QCOMPARE(form->ComboBox2->currentText(), u"6"_s);
    }

    // Resting the pointer on a shown result opens its breakdown, which is
    // also the result's description for a screen reader.
    void restingOnTheResultShowsItsBreakdown()
    {
        input->Click(TextOf(form->ComboBox1));
        for (int i = 0; i < 7; ++i)  // the seventh type, Фрегат
            input->Key("Down");
        const std::pair<QLineEdit*, QString> figures[] = {
            {form->Edit1, u"3000"_s}, {form->Edit3, u"14,5"_s}, {form->Edit4, u"35"_s},  {form->Edit5, u"0,5"_s},
            {form->Edit2, u"2000"_s}, {form->Edit6, u"100"_s},  {form->Edit7, u"400"_s}};
        for (const auto& [edit, text] : figures)
            edit->setText(text);
        input->Click(TextOf(form->ComboBox2));
        for (int i = 0; i < 3; ++i)  // the third caliber, 24
            input->Key("Down");
        QCOMPARE(form->Label1->text(), u"122.05"_s);
        input->MoveTo(Centre(form->Label1));
        input->MoveTo(Centre(form->Label1) + QPoint(2, 1));
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 5000);
        const QString tip = QToolTip::text();
        QVERIFY2(tip.startsWith(u"Корпус: 15.30\nСкорость: 21.96\n"_s), qPrintable(tip));
        QVERIFY2(tip.contains(u"\nПушки (46): 14.60\nВооружение (24): 49.35\nФрегат: 122.05\n"_s), qPrintable(tip));
        QAccessibleInterface* result = QAccessible::queryAccessibleInterface(form->Label1);
        QVERIFY(result);
        QCOMPARE(result->text(QAccessible::Description), tip);
        QCOMPARE(result->text(QAccessible::Value), u"122.05"_s);
        QCOMPARE(result->text(QAccessible::Name), u"Результат"_s);
    }

    // Entering a field from the keyboard, either way round, selects its
    // text, so that what is typed replaces it.
    void tabAndShiftTabSelectTheText_data()
    {
        QTest::addColumn<bool>("shift");
        QTest::newRow("Tab") << false;
        QTest::newRow("Shift+Tab") << true;
    }
    void tabAndShiftTabSelectTheText()
    {
        QFETCH(bool, shift);
        form->Edit3->setText(u"12,5"_s);
        input->Click(Centre(shift ? form->Edit4 : form->Edit1));
        input->Key("Tab", shift);
        QTRY_COMPARE(QApplication::focusWidget(), form->Edit3);
        QCOMPARE(form->Edit3->selectedText(), u"12,5"_s);
        input->Key("7");
        QCOMPARE(form->Edit3->text(), u"7"_s);
    }
};

QTEST_MAIN(RealInputTest)
#include "real_input_test.moc"
