// The Qt window on a real X server, driven through XTest as a user drives
// it: the pointer, the wheel and the keys the server sends, with Qt's own
// delivery steps (focus before a wheel, the text of a key) in the way.

#include <QAbstractItemView>
#include <QAccessible>
#include <QToolTip>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QScreen>
#include <QTest>

#include <memory>
#include <string>

#include "application.h"
#include "form1_window.h"
#include "jpeg_image.h"
#include "real_input.h"
#include "recording_presenter.h"
#include "selector_box.h"

using namespace Qt::StringLiterals;
using namespace kvorn;

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
    // --- The window's menu, the previous result and the screen's scale ---

    // Types `text` into a field as a user does: a click, then the keys.
    void TypeInto(QLineEdit* edit, const char* text)
    {
        input->Click(Centre(edit));
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        input->Key("End");
        for (const char* c = text; *c; ++c)
            input->Key(*c == ',' ? "comma" : std::string(1, *c).c_str());
    }
    QMenu* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
    void Choose(QMenu* menu, int item)
    {
        const QList<QAction*> actions = menu->actions();
        input->Click(menu->mapToGlobal(menu->actionGeometry(actions.at(item)).center()));
        QTRY_VERIFY(!OpenMenu());
    }

    // Фрегат rated, then Down, Down through Галлеон to Корвет and the
    // corvette's hull typed: the previous result is the frigate's.
    void thePreviousResultIsTheShipRated()
    {
        input->Click(TextOf(form->ComboBox1));
        for (int i = 0; i < 7; ++i)
            input->Key("Down");
        for (const auto& [edit, text] : {std::pair{form->Edit1, "3000"}, {form->Edit3, "14,5"}, {form->Edit4, "35"},
                                         {form->Edit5, "0,5"}, {form->Edit2, "2000"}, {form->Edit6, "100"},
                                         {form->Edit7, "400"}})
            TypeInto(edit, text);
        input->Click(TextOf(form->ComboBox2));
        for (int i = 0; i < 3; ++i)
            input->Key("Down");
        QCOMPARE(form->Label1->text(), u"122.05"_s);
        input->Click(TextOf(form->ComboBox1));
        input->Key("Down");
        QCOMPARE(form->ComboBox1->currentText(), u"Т Галлеон"_s);
        input->Key("Down");
        QCOMPARE(form->ComboBox1->currentText(), u"Корвет"_s);
        input->Click(Centre(form->Edit1));
        input->Key("End");
        input->Key("BackSpace");
        input->Key("5");
        QCOMPARE(form->Edit1->text(), u"3005"_s);
        const QString tip = QAccessible::queryAccessibleInterface(form->Label1)->text(QAccessible::Description);
        QVERIFY2(tip.contains(u"\nКорвет: "_s + form->Label1->text()), qPrintable(tip));
        QVERIFY2(tip.endsWith(u"\nПредыдущий: Фрегат 122.05"_s), qPrintable(tip));
    }

    // A right click on the result or the picture opens the window's menu;
    // its items copy the result and the row and paste a row, through the
    // system clipboard.
    void theWindowsMenuCopiesAndPastes()
    {
        QGuiApplication::clipboard()->clear();
        input->Click(Centre(form->Label1), 3);
        QTRY_VERIFY(OpenMenu());
        QStringList texts, offered;
        for (QAction* action : OpenMenu()->actions()) {
            texts << action->text();
            offered << (action->isEnabled() ? u"on"_s : u"off"_s);
        }
        QCOMPARE(texts, (QStringList{u"Копировать результат"_s, u"Копировать строку"_s, u"Вставить строку"_s}));
        QCOMPARE(offered, (QStringList{u"off"_s, u"off"_s, u"off"_s}));
        input->Key("Escape");
        QTRY_VERIFY(!OpenMenu());

        const QString sheetRow = u"Фрегат;3000;\"14,5\";35;\"0,5\";2000;100;400;24;122,05"_s;
        QGuiApplication::clipboard()->setText(u"ship;hull;speed;manoeuvrability;close-hauled;hold;crew1;crew2;"
                                              "caliber;score\r\n"_s + sheetRow + u"\r\n"_s);
        input->Click(form->mapToGlobal(QPoint(3, 150)), 3);  // the picture
        QTRY_VERIFY(OpenMenu());
        Choose(OpenMenu(), 2);
        QTRY_COMPARE(form->Label1->text(), u"122.05"_s);
        QCOMPARE(form->ComboBox1->currentText(), u"Фрегат"_s);
        QCOMPARE(form->ComboBox1->currentIndex(), 6);  // the list goes on from the pasted type
        QCOMPARE(form->Edit3->text(), u"14,5"_s);
        QVERIFY(presenter.errors.isEmpty());
        QVERIFY(presenter.messages.isEmpty());

        input->Click(Centre(form->Label1), 3);
        QTRY_VERIFY(OpenMenu());
        Choose(OpenMenu(), 1);
        QTRY_COMPARE(QGuiApplication::clipboard()->text(), u"Фрегат\t3000\t14,5\t35\t0,5\t2000\t100\t400\t24\t122,05"_s);
        input->Click(Centre(form->Label1), 3);
        QTRY_VERIFY(OpenMenu());
        Choose(OpenMenu(), 0);
        QTRY_COMPARE(QGuiApplication::clipboard()->text(), u"122.05"_s);

        // A bad row: one box, and nothing changes.
        QGuiApplication::clipboard()->setText(u"Корвет\t3000\t14,5\t35\t0,5\t2000\t1000\t400\t24"_s);
        input->Click(Centre(form->Label1), 3);
        QTRY_VERIFY(OpenMenu());
        Choose(OpenMenu(), 2);
        QTRY_COMPARE(presenter.errors.size(), 1);
        QVERIFY2(presenter.errors[0].startsWith(u"Команда м/о, первое число: «1000»"_s), qPrintable(presenter.errors[0]));
        QCOMPARE(form->ComboBox1->currentText(), u"Фрегат"_s);
        QCOMPARE(form->Edit6->text(), u"100"_s);
        QCOMPARE(form->Label1->text(), u"122.05"_s);
    }

    // From the keyboard: the Menu key and Shift+F10 open the window's menu
    // on a button, the field's own menu (in Russian) in a field.
    void theMenuKeysOpenTheMenuOfTheFocusedControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("shiftF10");
        QTest::addColumn<QString>("firstItem");
        QTest::newRow("Menu on clear") << u"BitBtn1"_s << false << u"Копировать результат"_s;
        QTest::newRow("Shift+F10 on exit") << u"BitBtn2"_s << true << u"Копировать результат"_s;
        QTest::newRow("Menu in a field") << u"Edit3"_s << false << u"&Отменить действие"_s;
        QTest::newRow("Shift+F10 in a field") << u"Edit1"_s << true << u"&Отменить действие"_s;
        QTest::newRow("Shift+F10 in a selector") << u"ComboBox2"_s << true << u"&Отменить действие"_s;
    }
    void theMenuKeysOpenTheMenuOfTheFocusedControl()
    {
        QFETCH(QString, control);
        QFETCH(bool, shiftF10);
        QFETCH(QString, firstItem);
        TranslateQtIntoRussian();
        form->findChild<QWidget*>(control)->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), control);
        input->Key(shiftF10 ? "F10" : "Menu", shiftF10);
        QTRY_VERIFY(OpenMenu());
        QVERIFY2(OpenMenu()->actions().first()->text().startsWith(firstItem), qPrintable(firstItem));
        input->Key("Escape");
        QTRY_VERIFY(!OpenMenu());
        QVERIFY(form->isVisible());
    }

    // Moved to a screen of another scale, the window shows the background
    // drawn for it, and the 1x picture again once back. Needs two screens of
    // ratios 1 and 2 (the two-screen run); skipped with one.
    void thePicturesFollowTheScreensScale()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (screens.size() < 2 || screens[0]->devicePixelRatio() == screens[1]->devicePixelRatio())
            QSKIP(qPrintable(u"needs two screens of different scales; found %1 at %2 and %3"_s.arg(screens.size()).arg(
                screens[0]->devicePixelRatio()).arg(screens.value(1) ? screens[1]->devicePixelRatio() : 0)));
        for (QScreen* screen : {screens[1], screens[0]}) {
            form->setScreen(screen);
            form->move(screen->geometry().topLeft() + QPoint(40, 40));
            const qreal ratio = screen->devicePixelRatio();
            QTRY_COMPARE(form->devicePixelRatioF(), ratio);
            QFile file(QStringLiteral(KVORN_ASSETS_DIR "/background") + (ratio > 1.6 ? u"@2x"_s : QString()) +
                       u".jpg"_s);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QImage drawn =
                DecodeJpeg(file.readAll(), JpegColours::Full).image.convertToFormat(QImage::Format_RGB32);
            const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(shown.size(), drawn.size());
            for (const QPoint at : {QPoint(3, 100), QPoint(192, 150), QPoint(100, 284), QPoint(20, 40), QPoint(60, 48)})
                QCOMPARE(QColor(shown.pixel(at * ratio)), QColor(drawn.pixel(at * ratio)));
        }
    }
};

QTEST_MAIN(RealInputTest)
#include "real_input_test.moc"
