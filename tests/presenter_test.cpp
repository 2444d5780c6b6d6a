// The boxes' rules that the window's run meets seldom: a long message
// wrapped, a short one as wide as its caption, boxes one at a time, long
// texts shortened.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <functional>

#include "application.h"
#include "dialog_presenter.h"
#include "pictures.h"

using namespace Qt::StringLiterals;
using namespace kvorn;

// Hands every message box that is shown to `seen`.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(std::function<void(QMessageBox*)> seen) : seen_(std::move(seen)) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched))
                seen_(box);
        return false;
    }

private:
    std::function<void(QMessageBox*)> seen_;
};

class PresenterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        NameApplication();  // the program's own title, not one set here
        QApplication::setWindowIcon(ShipIcon());  // as the program has it: the boxes must not show it
    }

    void messageWrapsWithinHalfTheScreen()
    {
        DialogPresenter presenter;
        int width = 0, height = 0, needed = 0, boxWidth = 0, captionWidth = 0, oneLine = 0;
        const auto look = [&] {
            QTimer::singleShot(50, [&] {
                QWidget* box = QApplication::activeModalWidget();
                const QLabel* label = box->findChild<QLabel*>(u"MessageText"_s);
                width = label->width();
                height = label->height();
                // The whole text shows: as high as it is wrapped at that width.
                const QRect room(0, 0, width, 100000);
                needed = label->fontMetrics().boundingRect(room, Qt::TextWordWrap, label->text()).height();
                oneLine = label->fontMetrics().horizontalAdvance(label->text());
                boxWidth = box->width();  // the caption beside the title bar's close button
                captionWidth = box->fontMetrics().horizontalAdvance(box->windowTitle()) +
                               box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
                QTest::keyClick(box, Qt::Key_Return);  // OK is the default button
            });
        };
        look();
        presenter.ShowMessage(QString(60, u'x').append(u' ').repeated(20).toStdString());
        QVERIFY(width > 0);
        QVERIFY(width <= QGuiApplication::primaryScreen()->geometry().width() / 2);
        QVERIFY2(height >= needed, qPrintable(u"%1 < %2"_s.arg(height).arg(needed)));
        look();  // a line wider than the caption needs: as wide as the line
        presenter.ShowMessage("Не вбран тип корабля: выберите его в списке над полями");
        QVERIFY2(width >= oneLine && width <= oneLine + 4, qPrintable(u"%1 for %2"_s.arg(width).arg(oneLine)));
        look();
        presenter.ShowMessage("Да");  // one word: the box as wide as its caption needs
        QVERIFY2(boxWidth >= captionWidth, qPrintable(u"%1 < %2"_s.arg(boxWidth).arg(captionWidth)));
    }

    void oneBoxAtATimeAndTheNextAfterIt()
    {
        // Every box that opens is recorded and closes itself shortly after.
        QStringList shown;
        DialogPresenter presenter;
        auto record = [&shown](QMessageBox* box) {
            shown << box->text();
            QTimer::singleShot(60, box, [box] { box->reject(); });
        };
        ShowWatcher watcher(record);
        QTimer::singleShot(20, [&] {
            // A failure while the first box is open opens nothing...
            presenter.ShowError("second");
        });
        presenter.ShowError("first");
        // ...and the next failure after it has closed opens its own box.
        presenter.ShowError("third");
        QCOMPARE(shown, QStringList({u"first."_s, u"third."_s}));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void longMessagesAreShortenedInTheMiddle()
    {
        const QString text = u"'"_s + QString(100000, u'7') + u"\U0001F600' is not a valid floating point value"_s;
        const QString shown = DialogPresenter::ErrorText(text);
        QVERIFY(shown.size() < 130);
        QVERIFY(shown.startsWith(u"'7777"_s));
        QVERIFY(shown.endsWith(u"' is not a valid floating point value."_s));
        QVERIFY(shown.contains(u"…"_s));
        for (qsizetype i = 0; i < shown.size(); ++i)  // no half of a surrogate pair
            QVERIFY(!shown.at(i).isHighSurrogate() || (i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate()));
    }
};

QTEST_MAIN(PresenterTest)
#include "presenter_test.moc"
