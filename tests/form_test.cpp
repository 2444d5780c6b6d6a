// The calculator window driven as a user would: keys, clicks, drags.

#include <QAbstractItemView>
#include <QClipboard>
#include <QFile>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <memory>

#include "recording_presenter.h"
#include "ship_types.h"
#include "form1_window.h"
#include "selector_box.h"
#include "picture_button.h"
#include "jpeg_image.h"

using namespace Qt::StringLiterals;
using namespace kvorn;

class FormTest : public QObject {
    Q_OBJECT

private:
    RecordingPresenter presenter;
    std::unique_ptr<Form1Window> form;
    char32_t separator = U',';

    QWidget* Control(const QString& name) { return form->findChild<QWidget*>(name); }
    QLineEdit* Edit(const QString& name) { return form->findChild<QLineEdit*>(name); }

    void Show()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // Picks list item `index` of a selector with its own navigation keys.
    void Pick(QComboBox* combo, int index)
    {
        combo->setFocus(Qt::OtherFocusReason);
        if (combo->currentIndex() > index || combo->currentIndex() < 0) {
            combo->setCurrentIndex(-1);
        }
        while (combo->currentIndex() < index)
            QTest::keyClick(combo, Qt::Key_Down);
    }

    // QTest types ASCII only; other characters arrive as the platform
    // delivers them, a key event carrying the text.
    static void TypeKeys(QWidget* control, const QString& text)
    {
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(control, char(c.unicode()));
            } else {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                QApplication::sendEvent(control, &press);
            }
        }
    }

    void Type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        TypeKeys(edit, text);
    }

    // Pastes as the context menu's Paste does, bypassing the keystroke rules.
    void Paste(QWidget* control, const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        control->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(control, Qt::Key_Insert, Qt::ShiftModifier);
    }

    int ShipIndex(const char* name)
    {
        for (std::size_t i = 0; i < kvorn::ShipTypeTable.size(); ++i)
            if (kvorn::ShipTypeTable[i].Name == name)
                return int(i);
        return -1;
    }

    // Enters a ship the way the window reads top to bottom.
    void Enter(const char* ship, const QStringList& figures, int caliberIndex)
    {
        Pick(form->ComboBox1, ShipIndex(ship));
        QLineEdit* order[] = {form->Edit1, form->Edit3, form->Edit4, form->Edit5, form->Edit2, form->Edit6, form->Edit7};
        for (int i = 0; i < 7; ++i)
            Type(order[i], figures[i]);
        Pick(form->ComboBox2, caliberIndex);
    }

    // A hull pasted past the field's keystroke rule, 1 in every other field
    // and caliber 12.
    void EnterPastedHull(const QString& hull)
    {
        Paste(form->Edit1, hull);
        for (QLineEdit* edit : {form->Edit3, form->Edit4, form->Edit5, form->Edit2, form->Edit6, form->Edit7})
            Type(edit, u"1"_s);
        Pick(form->ComboBox2, 0);
    }

private slots:
    void init()
    {
        presenter.Forget();
        separator = U',';
        form = std::make_unique<Form1Window>(presenter);
        form->SetSeparatorSource([this] { return separator; });
    }
    void cleanup() { form.reset(); }

    void window()
    {
        QCOMPARE(form->size(), QSize(196, 317));
        QCOMPARE(form->pos(), QPoint(444, 196));
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(form->windowTitle(), u"Кворн калькулятор v1.1.1 c12a"_s);
        QCOMPARE(form->objectName(), u"Form1"_s);
        QTRY_VERIFY(!form->windowIcon().isNull());  // it follows in the event loop
        QCOMPARE(form->font().pixelSize(), 11);
    }

    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("Image1") << u"Image1"_s << QRect(0, 0, 198, 321);
        QTest::newRow("Label2") << u"Label2"_s << QRect(149, 196, 4, 16);
        QTest::newRow("Label1") << u"Label1"_s << QRect(10, 255, 176, 24);
        QTest::newRow("Edit1") << u"Edit1"_s << QRect(138, 38, 48, 22);
        QTest::newRow("Edit2") << u"Edit2"_s << QRect(138, 162, 48, 22);
        QTest::newRow("Edit3") << u"Edit3"_s << QRect(138, 69, 48, 22);
        QTest::newRow("Edit4") << u"Edit4"_s << QRect(138, 99, 48, 22);
        QTest::newRow("Edit5") << u"Edit5"_s << QRect(138, 130, 48, 22);
        QTest::newRow("Edit6") << u"Edit6"_s << QRect(117, 193, 31, 22);
        QTest::newRow("Edit7") << u"Edit7"_s << QRect(154, 193, 31, 22);
        QTest::newRow("ComboBox1") << u"ComboBox1"_s << QRect(10, 6, 176, 24);
        QTest::newRow("ComboBox2") << u"ComboBox2"_s << QRect(138, 223, 48, 24);
        QTest::newRow("BitBtn1") << u"BitBtn1"_s << QRect(14, 288, 78, 19);
        QTest::newRow("BitBtn2") << u"BitBtn2"_s << QRect(104, 288, 78, 19);
    }
    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        QWidget* control = Control(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), rect);
    }

    void stackingOrder()
    {
        QStringList order;
        for (QObject* child : form->children())
            if (child->isWidgetType())
                order << child->objectName();
        QCOMPARE(order, QStringList({"Image1", "Label2", "Label1", "Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6",
                                     "Edit7", "ComboBox1", "ComboBox2", "BitBtn1", "BitBtn2"}));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("maxLength");  // 0 for the selectors
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("accessibleName");
        QTest::newRow("Edit1") << u"Edit1"_s << 5 << 13 << true << u"Корпус"_s;
        QTest::newRow("Edit2") << u"Edit2"_s << 4 << 13 << true << u"Трюм"_s;
        QTest::newRow("Edit3") << u"Edit3"_s << 5 << 13 << true << u"Скорость"_s;
        QTest::newRow("Edit4") << u"Edit4"_s << 5 << 13 << true << u"Маневренность"_s;
        QTest::newRow("Edit5") << u"Edit5"_s << 5 << 13 << true << u"Бейдевинд"_s;
        QTest::newRow("Edit6") << u"Edit6"_s << 3 << 13 << true << u"Команда м/о, первое число"_s;
        QTest::newRow("Edit7") << u"Edit7"_s << 3 << 13 << true << u"Команда м/о, второе число"_s;
        QTest::newRow("ComboBox1") << u"ComboBox1"_s << 0 << 13 << true << u"Тип корабля"_s;
        QTest::newRow("ComboBox2") << u"ComboBox2"_s << 0 << 13 << true << u"Вооружение"_s;
        QTest::newRow("Label1") << u"Label1"_s << 0 << 19 << true << u"Результат"_s;
        QTest::newRow("Label2") << u"Label2"_s << 0 << 13 << false << QString();
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(int, maxLength);
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        QFETCH(QString, accessibleName);
        QWidget* control = Control(name);
        QVERIFY(control);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            QCOMPARE(edit->maxLength(), maxLength);
        QCOMPARE(control->font().pixelSize(), pixels);
        QCOMPARE(control->font().bold(), bold);
        QCOMPARE(control->accessibleName(), accessibleName);
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            QVERIFY(combo->isEditable());
            QCOMPARE(combo->maxVisibleItems(), 8);
            QCOMPARE(combo->lineEdit()->font().bold(), true);
            const QModelIndex first = combo->model()->index(0, 0);
            QCOMPARE(combo->itemDelegate()->sizeHint(QStyleOptionViewItem(), first).height(), 16);
        }
    }

    void selectorItems()
    {
        QStringList ships;
        for (const kvorn::ShipType& ship : kvorn::ShipTypeTable)
            ships << QString::fromUtf8(ship.Name.data(), qsizetype(ship.Name.size()));
        QStringList listed;
        for (int i = 0; i < form->ComboBox1->count(); ++i)
            listed << form->ComboBox1->itemText(i);
        QCOMPARE(listed, ships);
        QStringList calibers;
        for (int i = 0; i < form->ComboBox2->count(); ++i)
            calibers << form->ComboBox2->itemText(i);
        QCOMPARE(calibers, QStringList({"12", "16", "24", "32", "42"}));
    }

    void initialState()
    {
        for (QLineEdit* edit : form->findChildren<QLineEdit*>(QRegularExpression("^Edit")))
            QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
        QCOMPARE(form->ComboBox1->currentText(), u"Тип корабля"_s);
        QCOMPARE(form->ComboBox1->currentIndex(), -1);
        QCOMPARE(form->ComboBox2->currentText(), QString());
        QCOMPARE(form->Label1->text(), QString());
        QCOMPARE(form->Label2->text(), u"/"_s);
        QVERIFY(form->Coefficients() == kvorn::ShipCoefficients{});
        QVERIFY(!form->Image1->pixmap().isNull());
        QCOMPARE(form->Image1->pixmap().size(), QSize(196, 317));
    }

    void focusStartsOnTheShipSelectorAndTabWalksDown()
    {
        Show();
        QCOMPARE(QApplication::focusWidget(), form->ComboBox1);
        const QStringList expected = {"Edit1", "Edit3", "Edit4",   "Edit5",   "Edit2",    "Edit6",
                                      "Edit7", "ComboBox2", "BitBtn1", "BitBtn2", "ComboBox1"};
        for (const QString& name : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
        }
    }

    void typing_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<uint>("separator");
        QTest::addColumn<QString>("text");
        QTest::newRow("digits only") << u"Edit1"_s << u"12a-3 .,"_s << uint(U',') << u"123"_s;
        QTest::newRow("hull holds five") << u"Edit1"_s << u"123456"_s << uint(U',') << u"12345"_s;
        QTest::newRow("hold holds four") << u"Edit2"_s << u"12345"_s << uint(U',') << u"1234"_s;
        QTest::newRow("crew holds three") << u"Edit6"_s << u"1234"_s << uint(U',') << u"123"_s;
        QTest::newRow("crew digits") << u"Edit7"_s << u"+9-9"_s << uint(U',') << u"99"_s;
        QTest::newRow("point becomes comma") << u"Edit3"_s << u"12.5"_s << uint(U',') << u"12,5"_s;
        QTest::newRow("one separator") << u"Edit3"_s << u"12.5.,"_s << uint(U',') << u"12,5"_s;
        QTest::newRow("lone comma") << u"Edit4"_s << u","_s << uint(U',') << u","_s;
        QTest::newRow("no sign or space") << u"Edit5"_s << u"-1 2"_s << uint(U',') << u"12"_s;
        QTest::newRow("comma becomes point") << u"Edit3"_s << u"12,5"_s << uint(U'.') << u"12.5"_s;
        QTest::newRow("point region, one") << u"Edit4"_s << u"1.,2"_s << uint(U'.') << u"1.2"_s;
        QTest::newRow("non-ASCII digit") << u"Edit1"_s << u"1٣2"_s << uint(U',') << u"12"_s;
    }
    void typing()
    {
        QFETCH(QString, edit);
        QFETCH(QString, keys);
        QFETCH(uint, separator);
        QFETCH(QString, text);
        this->separator = char32_t(separator);
        form->SetSeparatorSource([separator] { return char32_t(separator); });
        Show();
        Type(Edit(edit), keys);
        QCOMPARE(Edit(edit)->text(), text);
    }

    void backspaceAndANewComma()
    {
        Show();
        Type(form->Edit3, u"12,5"_s);
        QTest::keyClick(form->Edit3, Qt::Key_Backspace);
        QTest::keyClick(form->Edit3, Qt::Key_Backspace);
        QCOMPARE(form->Edit3->text(), u"12"_s);
        QTest::keyClicks(form->Edit3, u".7"_s);
        QCOMPARE(form->Edit3->text(), u"12,7"_s);
    }

    void editingShortcutsAreDiscardedButShiftInsertPastes()
    {
        Show();
        QGuiApplication::clipboard()->setText(u"78a90123"_s);
        form->Edit1->setFocus(Qt::OtherFocusReason);
        // What X11 delivers for Ctrl+V: the control character 22.
        QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, u"\x16"_s);
        QApplication::sendEvent(form->Edit1, &paste);
        QCOMPARE(form->Edit1->text(), QString());
        QTest::keyClick(form->Edit1, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(form->Edit1->text(), u"78a90"_s);  // only the maximum length applies
    }

    void inputMethodTextPassesTheRules()
    {
        Show();
        form->Edit3->setFocus(Qt::OtherFocusReason);
        QInputMethodEvent commit;
        commit.setCommitString(u"1x2.3"_s);
        QApplication::sendEvent(form->Edit3, &commit);
        QCOMPARE(form->Edit3->text(), u"12,3"_s);
        // Several characters in one event: the second separator is judged
        // with the first already in.
        form->Edit4->setFocus(Qt::OtherFocusReason);
        QInputMethodEvent twoSeparators;
        twoSeparators.setCommitString(u",5,"_s);
        QApplication::sendEvent(form->Edit4, &twoSeparators);
        QCOMPARE(form->Edit4->text(), u",5"_s);
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

    void focusOtherThanALeftClickSelectsTheText()
    {
        Show();
        Type(form->Edit3, u"12,5"_s);
        form->Edit1->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(form->Edit1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->Edit3);
        QCOMPARE(form->Edit3->selectedText(), u"12,5"_s);
        QTest::keyClick(form->Edit3, Qt::Key_Comma);  // still holds a comma: discarded
        QCOMPARE(form->Edit3->text(), u"12,5"_s);
        QTest::keyClick(form->Edit3, Qt::Key_7);
        QCOMPARE(form->Edit3->text(), u"7"_s);

        form->Edit4->setFocus(Qt::OtherFocusReason);
        Type(form->Edit4, u"35"_s);
        form->Edit1->setFocus(Qt::OtherFocusReason);
        QCOMPARE(form->Edit4->selectedText(), QString());  // hidden away from the focus
        form->Edit4->setFocus(Qt::ShortcutFocusReason);
        QCOMPARE(form->Edit4->selectedText(), u"35"_s);

        form->Edit1->setFocus(Qt::OtherFocusReason);
        QTest::mouseClick(form->Edit4, Qt::LeftButton, {}, QPoint(5, 10));
        QCOMPARE(QApplication::focusWidget(), form->Edit4);
        QCOMPARE(form->Edit4->selectedText(), QString());
    }

    void selectorsTakeNoTypedCharacters()
    {
        Show();
        Pick(form->ComboBox2, 1);
        QCOMPARE(form->ComboBox2->currentText(), u"16"_s);
        QTest::keyClicks(form->ComboBox2, u"5a "_s);
        QTest::keyClick(form->ComboBox2, Qt::Key_Backspace);
        QTest::keyClick(form->ComboBox2, Qt::Key_Return);
        QCOMPARE(form->ComboBox2->currentText(), u"16"_s);
        QCOMPARE(form->ComboBox2->currentIndex(), 1);
        QCOMPARE(form->ComboBox2->count(), 5);
        TypeKeys(form->ComboBox1, u"Фрегат"_s);
        QCOMPARE(form->ComboBox1->currentText(), u"Тип корабля"_s);
        QVERIFY(presenter.messages.isEmpty());
    }

    void workedResults_data()
    {
        QTest::addColumn<QString>("ship");
        QTest::addColumn<QStringList>("figures");  // top to bottom
        QTest::addColumn<int>("caliber");          // list index
        QTest::addColumn<QString>("label");
        QTest::newRow("Фрегат") << u"Фрегат"_s << QStringList{"3000", "14,5", "35", "0,5", "2000", "100", "400"} << 2
                                << u"122.05"_s;
        QTest::newRow("Корвет") << u"Корвет"_s << QStringList{"2500", "15,7", "41,5", "0,45", "1200", "120", "180"}
                                << 1 << u"94.23"_s;
        QTest::newRow("Шлюп 32") << u"Шлюп"_s << QStringList{"900", "16,2", "60", "0,6", "600", "40", "90"} << 3
                                 << u"70.84"_s;
        QTest::newRow("Шлюп 12") << u"Шлюп"_s << QStringList{"900", "16,2", "60", "0,6", "600", "40", "90"} << 0
                                 << u"65.00"_s;
        QTest::newRow("Баркас") << u"Баркас"_s << QStringList{"0", "0", "0", "0", "0", "187", "0"} << 4 << u"29.58"_s;
    }
    void workedResults()
    {
        QFETCH(QString, ship);
        QFETCH(QStringList, figures);
        QFETCH(int, caliber);
        QFETCH(QString, label);
        Show();
        Enter(ship.toUtf8().constData(), figures, caliber);
        QCOMPARE(form->Label1->text(), label);
        QVERIFY(presenter.messages.isEmpty());
        QVERIFY(presenter.errors.isEmpty());
    }

    void deletingInTheCaliberSelectorRecomputes()
    {
        Show();
        Enter("Шлюп", {"900", "16,2", "60", "0,6", "600", "40", "90"}, 4);
        const QString at42 = form->Label1->text();
        Pick(form->ComboBox2, 1);
        QVERIFY(form->Label1->text() != at42);
        QTest::keyClick(form->ComboBox2, Qt::Key_Home);
        QTest::keyClick(form->ComboBox2, Qt::Key_Delete);
        QCOMPARE(form->ComboBox2->currentText(), u"6"_s);
        QCOMPARE(form->Label1->text(), at42);  // 6 weighs as 42 does
    }

    void divisionByZeroBeforeAnyTypeIsPicked()
    {
        Show();
        form->ComboBox1->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(form->ComboBox1, Qt::Key_Home);
        QTest::keyClick(form->ComboBox1, Qt::Key_Delete);
        QCOMPARE(form->ComboBox1->currentText(), u"ип корабля"_s);
        QLineEdit* order[] = {form->Edit1, form->Edit3, form->Edit4, form->Edit5, form->Edit2, form->Edit6, form->Edit7};
        for (QLineEdit* edit : order)
            Type(edit, u"1"_s);
        Pick(form->ComboBox2, 0);
        QCOMPARE(presenter.errors, QStringList{u"Floating point division by zero"_s});
        QVERIFY(presenter.messages.isEmpty());
    }

    void clearResetsTheInputsButNotTheCoefficients()
    {
        Show();
        Enter("Фрегат", {"3000", "14,5", "35", "0,5", "2000", "100", "400"}, 2);
        QCOMPARE(form->Label1->text(), u"122.05"_s);
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        for (QLineEdit* edit : form->findChildren<QLineEdit*>(QRegularExpression("^Edit")))
            QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
        QCOMPARE(form->Label1->text(), QString());
        QCOMPARE(form->ComboBox1->currentText(), u"Тип корабля"_s);
        QCOMPARE(form->ComboBox2->currentText(), QString());
        QCOMPARE(QApplication::focusWidget(), form->ComboBox1);
        kvorn::ShipCoefficients frigate;
        kvorn::SelectShipType("Фрегат", frigate);
        QVERIFY(form->Coefficients() == frigate);
        QVERIFY(presenter.messages.isEmpty());
        QVERIFY(presenter.errors.isEmpty());
    }

    void nearMissShipNameKeepsThePreviousCoefficients()
    {
        Show();
        Enter("Корвет", {"2500", "15,7", "41,5", "0,45", "1200", "120", "180"}, 1);
        const kvorn::ShipCoefficients corvette = form->Coefficients();
        Paste(form->ComboBox1, u" "_s);  // appends a space: no type matches
        QCOMPARE(form->ComboBox1->currentText(), u"Корвет "_s);
        QVERIFY(form->Coefficients() == corvette);
        QCOMPARE(form->Label1->text(), u"94.23"_s);
    }

    void separatorFollowsTheRegionalSettings()
    {
        Show();
        QCOMPARE(form->Separator(), U',');
        separator = U'.';
        QEvent changed(QEvent::LocaleChange);
        QApplication::sendEvent(qApp, &changed);
        QCOMPARE(form->Separator(), U'.');
        Enter("Фрегат", {"3000", "14,5", "35", "0,5", "2000", "100", "400"}, 2);
        QCOMPARE(form->Edit3->text(), u"14.5"_s);  // the filter writes the new one
        QCOMPARE(form->Label1->text(), u"122.05"_s);  // and the conversion reads it
    }

    void dragOnThePictureMovesTheWindow()
    {
        Show();
        const QPoint start = form->pos();
        QTest::mousePress(form->Image1, Qt::LeftButton, {}, QPoint(60, 250));
        QTest::mouseMove(form->Image1, QPoint(90, 270));
        QTest::mouseRelease(form->Image1, Qt::LeftButton, {}, QPoint(90, 270));
        QTRY_COMPARE(form->pos(), start + QPoint(30, 20));
        // A press in an edit places the caret and moves nothing.
        const QPoint moved = form->pos();
        QTest::mousePress(form->Edit1, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(form->Edit1, QPoint(40, 40));
        QTest::mouseRelease(form->Edit1, Qt::LeftButton, {}, QPoint(40, 40));
        QCOMPARE(form->pos(), moved);
        QCOMPARE(QApplication::focusWidget(), form->Edit1);
    }

    void buttonsClickOnTheMouseSpaceAndReturn_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");  // 0: a left click
        QTest::newRow("exit, mouse") << u"BitBtn2"_s << 0;
        QTest::newRow("exit, Return") << u"BitBtn2"_s << int(Qt::Key_Return);
        QTest::newRow("clear, Enter") << u"BitBtn1"_s << int(Qt::Key_Enter);
        QTest::newRow("clear, Space") << u"BitBtn1"_s << int(Qt::Key_Space);
    }
    void buttonsClickOnTheMouseSpaceAndReturn()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        Show();
        Type(form->Edit1, u"5"_s);
        auto* target = qobject_cast<QPushButton*>(Control(button));
        target->setFocus(Qt::TabFocusReason);
        if (key == 0) {
            QTest::mouseClick(target, Qt::LeftButton);
        } else {
            QTest::keyPress(target, Qt::Key(key));
            QTest::keyRelease(target, Qt::Key(key));
        }
        if (button == u"BitBtn2"_s)
            QVERIFY(!form->isVisible());
        else
            QCOMPARE(form->Edit1->text(), QString());
    }

    // A paste into a selector is one change; leaving it changes nothing more
    // and leaves the text as it is: no look-up among the items.
    void selectorTextStaysAsTheUserLeftIt_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("pasted");
        QTest::newRow("ship in lower case") << u"ComboBox1"_s << u"корвет"_s;
        QTest::newRow("caliber") << u"ComboBox2"_s << u"42"_s;
    }
    void selectorTextStaysAsTheUserLeftIt()
    {
        QFETCH(QString, selector);
        QFETCH(QString, pasted);
        Show();
        for (QLineEdit* edit : {form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5, form->Edit6, form->Edit7})
            Type(edit, u"1"_s);
        Pick(form->ComboBox2, 0);
        // Each recomputation now shows one message (the placeholder) or one
        // error (a ship text but no type ever picked: division by zero).
        presenter.Forget();
        auto* combo = qobject_cast<QComboBox*>(Control(selector));
        combo->setFocus(Qt::OtherFocusReason);
        combo->lineEdit()->selectAll();
        Paste(combo, pasted);
        QCOMPARE(presenter.messages.size() + presenter.errors.size(), 1);
        QTest::keyClick(combo, Qt::Key_Tab);
        QVERIFY(!combo->hasFocus());
        QCOMPARE(combo->currentText(), pasted);
        QCOMPARE(presenter.messages.size() + presenter.errors.size(), 1);
        if (selector == u"ComboBox1"_s)
            QCOMPARE(presenter.errors, QStringList{u"Floating point division by zero"_s});
    }

    void typingIntoAnOpenListMovesNothing_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("typed");
        QTest::newRow("ship") << u"ComboBox1"_s << u"Ш"_s;
        QTest::newRow("caliber") << u"ComboBox2"_s << u"4"_s;
    }
    void typingIntoAnOpenListMovesNothing()
    {
        QFETCH(QString, selector);
        QFETCH(QString, typed);
        Show();
        auto* combo = qobject_cast<QComboBox*>(Control(selector));
        combo->setFocus(Qt::OtherFocusReason);
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        QTRY_VERIFY(list->isVisible());
        QTest::keyClick(list, Qt::Key_Down);
        const int row = list->currentIndex().row();
        TypeKeys(list, typed);
        QCOMPARE(list->currentIndex().row(), row);
        QTest::keyClick(list, Qt::Key_Down);  // the list's own keys still work
        QCOMPARE(list->currentIndex().row(), row + 1);
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(combo->currentIndex(), row + 1);
    }

    void wheelChangesOnlyAFocusedSelector()
    {
        Show();
        Pick(form->ComboBox2, 1);
        auto wheel = [this] {
            const QPointF at(10, 10);
            QWheelEvent event(at, form->ComboBox2->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(form->ComboBox2, &event);
        };
        form->Edit1->setFocus(Qt::OtherFocusReason);
        wheel();
        QCOMPARE(form->ComboBox2->currentIndex(), 1);
        form->ComboBox2->setFocus(Qt::OtherFocusReason);
        wheel();
        QCOMPARE(form->ComboBox2->currentIndex(), 2);
    }

    // Leaving the window and coming back neither shows a selection while
    // away nor selects anything new: the next digit goes after the last.
    void selectionWhileTheWindowIsInactive()
    {
        Show();
        Type(form->Edit1, u"7"_s);
        QCOMPARE(form->Edit1->selectedText(), QString());
        Type(form->Edit3, u"12,5"_s);
        form->Edit3->setFocus(Qt::OtherFocusReason);
        form->Edit3->selectAll();
        QWidget other;
        other.setGeometry(0, 0, 50, 50);
        auto away = [&] {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        };
        auto back = [&] {
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
        };
        away();
        QCOMPARE(form->Edit3->selectedText(), QString());
        back();
        QCOMPARE(QApplication::focusWidget(), form->Edit3);
        QCOMPARE(form->Edit3->selectedText(), u"12,5"_s);  // given back as it was

        form->Edit1->setFocus(Qt::MouseFocusReason);
        form->Edit1->end(false);
        away();
        back();
        QCOMPARE(form->Edit1->selectedText(), QString());
        QTest::keyClick(form->Edit1, Qt::Key_8);
        QCOMPARE(form->Edit1->text(), u"78"_s);
    }

    void shiftClickExtendsTheSelectionFromTheCaret()
    {
        Show();
        Type(form->Edit1, u"12345"_s);
        form->Edit1->setCursorPosition(1);
        form->Edit2->setFocus(Qt::OtherFocusReason);
        form->Edit1->setCursorPosition(1);
        QTest::mouseClick(form->Edit1, Qt::LeftButton, Qt::ShiftModifier, QPoint(form->Edit1->width() - 4, 10));
        QCOMPARE(QApplication::focusWidget(), form->Edit1);
        QCOMPARE(form->Edit1->selectedText(), u"2345"_s);
    }

    // Where `shown` differs from `bare`, the same area without the thing
    // looked at; empty where nothing is drawn.
    static QRect Ink(const QImage& shown, const QImage& bare)
    {
        QRect ink;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) != bare.pixel(x, y))
                    ink |= QRect(x, y, 1, 1);
        return ink;
    }

    // A result is drawn whole and centred in its 176-pixel label, however
    // long the score: a pasted hull of 1e20 gives 21 characters, 1e37 38,
    // and neither may be cut at either end.
    void resultIsDrawnWholeAndCentred_data()
    {
        QTest::addColumn<QString>("hull");
        QTest::addColumn<QString>("exact");  // as kvorn-score prints it
        QTest::addColumn<bool>("smaller");   // drawn smaller than the described face
        QTest::newRow("worked result") << u"3000"_s << u"122.05"_s << false;
        QTest::newRow("1e20 pasted") << u"1e20"_s << u"509860509860509952.00"_s << true;
        QTest::newRow("1e37 pasted") << u"1e37"_s << u"50986050986050991000000000000000000.00"_s << false;
    }
    void resultIsDrawnWholeAndCentred()
    {
        QFETCH(QString, hull);
        QFETCH(QString, exact);
        QFETCH(bool, smaller);
        Show();
        const QRect band = form->Label1->geometry();
        const QImage bare = form->grab(band).toImage();
        Pick(form->ComboBox1, ShipIndex("Фрегат"));
        if (hull == u"3000"_s) {
            Enter("Фрегат", {"3000", "14,5", "35", "0,5", "2000", "100", "400"}, 2);
        } else {
            EnterPastedHull(hull);
        }
        QCOMPARE(form->Label1->text(), exact);  // the label's own text stays exact
        const QImage shown = form->grab(band).toImage();
        const QRect ink = Ink(shown, bare);
        QVERIFY2(!ink.isEmpty(), "nothing drawn");
        const int first = ink.left(), last = ink.right();
        // In device pixels: the screen's scale times the described ones.
        const qreal ratio = shown.devicePixelRatio();
        const int left = first, right = shown.width() - 1 - last;
        QVERIFY2(left >= 1 && right >= 1, qPrintable(u"cut: ink from %1 to %2"_s.arg(first).arg(last)));
        QVERIFY2(std::abs(left - right) <= ratio, qPrintable(u"not centred: %1 left, %2 right"_s.arg(left).arg(right)));
        // The digits of the described 19-pixel bold face stand 14 pixels high.
        const int height = ink.height();
        QVERIFY2(smaller ? height < 14 * ratio : height >= 14 * ratio, qPrintable(QString::number(height)));
        QVERIFY2(height >= 8 * ratio, qPrintable(QString::number(height)));  // still legible
    }

    // The pictures as drawn for the screen's scale (QT_SCALE_FACTOR=2 in the
    // test run that asks for it): the background's pixels are those of the
    // picture drawn at that scale; the buttons', clear on the left and exit
    // on the right, those of theirs, centred on the face.
    void picturesAtTheScreensScale()
    {
        Show();
        const qreal ratio = form->devicePixelRatioF();
        const QString suffix = ratio > 1.6 ? u"@2x"_s : ratio > 1.1 ? u"@1.5x"_s : QString();
        qInfo("device pixel ratio %g", ratio);
        QCOMPARE(form->size(), QSize(196, 317));  // logical pixels
        QFile file(QStringLiteral(KVORN_ASSETS_DIR "/background") + suffix + u".jpg"_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QImage drawn = DecodeJpeg(file.readAll(), JpegColours::Full).image.convertToFormat(QImage::Format_RGB32);
        QCOMPARE(drawn.size(), (QSizeF(196, 317) * ratio).toSize());
        const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), drawn.size());
        for (const QPoint at : {QPoint(3, 100), QPoint(192, 150), QPoint(100, 284), QPoint(20, 40), QPoint(60, 48)}) {
            const QPoint device = (QPointF(at) * ratio).toPoint();
            QCOMPARE(QColor(shown.pixel(device)), QColor(drawn.pixel(device)));
        }
        for (const auto& [button, name] : {std::pair{form->BitBtn1, u"clear"_s}, std::pair{form->BitBtn2, u"exit"_s}}) {
            const QImage picture = QImage(QStringLiteral(KVORN_ASSETS_DIR "/") + name + suffix + u".bmp"_s)
                                       .convertToFormat(QImage::Format_RGB32);
            const QImage face = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
            bool matched = false;
            for (int dx = 0; dx <= 4 && !matched; ++dx)
                for (int dy = 0; dy <= 4 && !matched; ++dy)
                    matched = face == picture.copy(dx, dy, face.width(), face.height());
            QVERIFY2(matched, qPrintable(name));
        }
    }

    // The fields' background is the button face; the list marks its current
    // item with the highlight.
    void fieldsAndListsAreDrawnInTheirColours()
    {
        Show();
        const QColor buttonFace = QApplication::palette().color(QPalette::Button);
        for (QWidget* field : {static_cast<QWidget*>(form->Edit1), static_cast<QWidget*>(form->Edit6),
                               static_cast<QWidget*>(form->ComboBox2)}) {
            const QImage shown = field->grab().toImage();
            QCOMPARE(QColor(shown.pixel(8, shown.height() / 2)), buttonFace);
        }
        form->ComboBox1->setFocus(Qt::OtherFocusReason);
        form->ComboBox1->showPopup();
        QAbstractItemView* list = form->ComboBox1->view();
        QTRY_VERIFY(list->isVisible());
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        const int current = list->currentIndex().row();
        const QImage shown = list->viewport()->grab().toImage();
        const QColor highlight = QApplication::palette().color(QPalette::Highlight);
        const QColor base = QApplication::palette().color(QPalette::Base);
        // The style shades the highlight a little.
        auto near = [](QColor a, QColor b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <= 12;
        };
        auto colourOfRow = [&](int row) {
            const QRect item = list->visualRect(list->model()->index(row, 0));
            return QColor(shown.pixel(item.right() - 4, item.center().y()));
        };
        QVERIFY2(near(colourOfRow(current), highlight), qPrintable(colourOfRow(current).name()));
        QVERIFY2(near(colourOfRow(current == 0 ? 1 : 0), base), qPrintable(colourOfRow(current == 0 ? 1 : 0).name()));
        QTest::keyClick(list, Qt::Key_Escape);
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
            Enter("Фрегат", {"3000", "14,5", "35", "0,5", "2000", "100", "400"}, 2);
        } else if (state == u"long"_s) {
            Pick(form->ComboBox1, ShipIndex("Фрегат"));
            EnterPastedHull(u"1e20"_s);
        }
        if (QWidget* focus = QApplication::focusWidget())
            focus->clearFocus();  // no caret: it blinks
        const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString name = u"qt-%1.png"_s.arg(state);
        const QString reference = QStringLiteral(KVORN_REFERENCE_DIR "/") + name;
        if (qEnvironmentVariableIsSet("KVORN_WRITE_REFERENCES"))
            QVERIFY(shown.save(reference));
        const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), expected.size());
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                differing += shown.pixel(x, y) != expected.pixel(x, y);
        if (differing)
            shown.save(name);  // beside the test, to look at
        QVERIFY2(differing == 0, qPrintable(u"%1 pixels differ from %2"_s.arg(differing).arg(reference)));
    }

    void hugePasteIntoASelectorIsHandledQuickly()
    {
        Show();
        Enter("Фрегат", {"3000", "14,5", "35", "0,5", "2000", "100", "400"}, 2);
        QElapsedTimer timer;
        timer.start();
        Paste(form->ComboBox2, QString(1 << 20, u'7'));
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(presenter.errors.size(), 1);  // far beyond extended precision
        // Pasted at the caret, after "24"; the selector's own limit applies.
        QVERIFY2(presenter.errors.first().startsWith(u"'247777"_s), qPrintable(presenter.errors.first().left(80)));
        QCOMPARE(form->Label1->text(), u"122.05"_s);
        qInfo("pasting 1 MiB into the caliber selector took %lld ms", elapsed);
    }
};

QTEST_MAIN(FormTest)
#include "form_test.moc"
