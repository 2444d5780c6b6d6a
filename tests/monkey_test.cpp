// Thousands of random user actions on the real window, with the invariants
// checked after each; and hostile pastes into every control.

#include <QClipboard>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>

#include <memory>
#include <random>

#include "recording_presenter.h"
#include <QLabel>
#include <QLineEdit>

#include "form1_window.h"
#include "selector_box.h"
#include "picture_button.h"

using namespace Qt::StringLiterals;
using namespace kvorn;

namespace {

const QRegularExpression ScoreText(uR"(^-?[0-9]+\.[0-9][0-9]$|^-?[0-9]\.[0-9][0-9]E[+-][0-9]{2,3}$)"_s);
const QRegularExpression Failure(
    uR"(^'.*' is not a valid floating point value$|^Floating point (division by zero|overflow)$|^Invalid floating point operation$)"_s,
    QRegularExpression::DotMatchesEverythingOption);

const QStringList Pastes = {
    u"12"_s, u","_s, u"."_s, u"1,5"_s, u"1.5"_s, u"-3"_s, u" 7 "_s, u"1e3"_s, u"9e999"_s, u"Фрегат"_s,
    u"Т Галлеон"_s, u"\u202Eשלום\u202C"_s, u"e\u0301\u0301\u0301"_s, u"\u0000\u0001\u00FF"_s, u"\uFFFD\uFEFF"_s,
    u"١٢٣"_s, u"\U0001F6A2"_s, QString(300, u'9'), u"12\t5"_s, u"0x1F"_s,
};

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

    RecordingPresenter presenter;
    std::unique_ptr<Form1Window> form;

    QList<QLineEdit*> Edits() const
    {
        return {form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit5, form->Edit6, form->Edit7};
    }
    static bool IsDecimal(const QLineEdit* edit) { return edit->objectName() >= u"Edit3"_s && edit->objectName() <= u"Edit5"_s; }

    void Paste(QWidget* control, const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        control->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(control, Qt::Key_Insert, Qt::ShiftModifier);
    }

private slots:
    void init()
    {
        presenter.Forget();
        form = std::make_unique<Form1Window>(presenter);
        form->SetSeparatorSource([] { return U','; });
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }

    void randomActionsKeepEveryInvariant()
    {
        std::mt19937 random(20261208);
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        QList<QWidget*> controls;
        for (QLineEdit* edit : Edits())
            controls << edit;
        controls << form->ComboBox1 << form->ComboBox2;
        const QString typed = u"0123456789.,,-+ eEaМ/\b\x16\x03\r"_s;
        const Qt::Key keys[] = {Qt::Key_Delete, Qt::Key_Home, Qt::Key_End, Qt::Key_Left, Qt::Key_Right,
                                Qt::Key_Up,     Qt::Key_Down, Qt::Key_Tab, Qt::Key_Backspace};
        QSet<QLineEdit*> pasted;  // typed-content rules hold for the others
        int clears = 0, scores = 0;

        constexpr int events = 20000;
        for (int step = 0; step < events; ++step) {
            QWidget* control = controls[pick(int(controls.size()))];
            const int action = pick(100);
            if (action < 55) {
                const QChar c = typed[pick(int(typed.size()))];
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                control->setFocus(Qt::OtherFocusReason);
                QApplication::sendEvent(control, &press);
            } else if (action < 80) {
                control->setFocus(Qt::OtherFocusReason);
                QTest::keyClick(control, keys[pick(int(std::size(keys)))]);
            } else if (action < 90) {
                if (auto* edit = qobject_cast<QLineEdit*>(control))
                    pasted.insert(edit);
                Paste(control, Pastes[pick(int(Pastes.size()))]);
            } else if (action < 98) {
                auto* combo = pick(2) ? form->ComboBox1 : form->ComboBox2;
                combo->setFocus(Qt::OtherFocusReason);
                QTest::keyClick(combo, pick(2) ? Qt::Key_Down : Qt::Key_Up);
            } else {
                QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
                ++clears;
                pasted.clear();
                for (QLineEdit* edit : Edits())
                    QVERIFY(edit->text().isEmpty());
                QCOMPARE(form->Label1->text(), QString());
                QCOMPARE(form->ComboBox1->currentText(), u"Тип корабля"_s);
                QCOMPARE(form->ComboBox2->currentText(), QString());
                QCOMPARE(QApplication::focusWidget(), form->ComboBox1);
            }

            for (QLineEdit* edit : Edits()) {
                QVERIFY(edit->text().size() <= edit->maxLength());
                if (edit->text().isEmpty())
                    pasted.remove(edit);
                if (pasted.contains(edit))
                    continue;
                static const QRegularExpression digits(u"^[0-9]*$"_s), decimal(u"^[0-9]*,?[0-9]*$"_s);
                QVERIFY2((IsDecimal(edit) ? decimal : digits).match(edit->text()).hasMatch(),
                         qPrintable(edit->objectName() + u": "_s + edit->text()));
            }
            const QString label = form->Label1->text();
            QVERIFY2(label.isEmpty() || ScoreText.match(label).hasMatch(), qPrintable(label));
            scores += !label.isEmpty();
        }
        for (const QString& message : presenter.messages)
            QCOMPARE(message, u"Не вбран тип корабля"_s);
        for (const QString& error : presenter.errors)
            QVERIFY2(Failure.match(error).hasMatch(), qPrintable(error.left(200)));
        qInfo("%d events: %d clears, %lld messages, %lld errors, a score shown after %d", events, clears,
              presenter.messages.size(), presenter.errors.size(), scores);
        QVERIFY(clears > 0);
        QVERIFY(!presenter.messages.isEmpty());
    }

    void hostilePastes_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        const QString controls[] = {u"Edit1"_s, u"Edit3"_s, u"Edit7"_s, u"ComboBox1"_s, u"ComboBox2"_s};
        const struct {
            const char* name;
            QString text;
        } pastes[] = {
            {"1 MiB", QString(1 << 20, u'5')},
            {"binary", QString::fromLatin1(QByteArray("\x00\x01\x7f\xff\xfe\x1b[31m", 11))},
            {"right-to-left", u"\u202E١٢,٣\u202C"_s},
            {"combining", u"1\u0301\u0302\u0303"_s},
            {"lone separator", u","_s},
            {"lone surrogate", QString(QChar(0xD800))},
        };
        for (const QString& control : controls)
            for (const auto& paste : pastes)
                QTest::newRow(qPrintable(control + u" "_s + QLatin1String(paste.name))) << control << paste.text;
    }
    void hostilePastes()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        // Everything else filled, so the paste is recomputed in full.
        const QStringList figures = {"3000", "2000", "14,5", "35", "0,5", "100", "400"};
        for (int i = 0; i < 7; ++i)
            Edits()[i]->setText(figures[i]);
        form->ComboBox1->setCurrentIndex(6);
        emit form->ComboBox1->activated(6);
        form->ComboBox2->setCurrentIndex(2);
        emit form->ComboBox2->activated(2);
        QCOMPARE(form->Label1->text(), u"122.05"_s);
        presenter.Forget();

        QWidget* target = form->findChild<QWidget*>(control);
        if (auto* edit = qobject_cast<QLineEdit*>(target))
            edit->clear();
        QElapsedTimer timer;
        timer.start();
        Paste(target, text);
        QCoreApplication::processEvents();
        // A figure to read, not a verdict: timings do not decide tests.
        qInfo("handled in %lld ms", timer.elapsed());
        for (const QString& error : presenter.errors)
            QVERIFY2(Failure.match(error).hasMatch(), qPrintable(error.left(200)));
        QVERIFY(form->Label1->text().isEmpty() || ScoreText.match(form->Label1->text()).hasMatch());
        // Still answering: a typed digit still lands.
        form->Edit6->clear();
        form->Edit6->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(form->Edit6, Qt::Key_1);
        QCOMPARE(form->Edit6->text(), u"1"_s);
    }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
