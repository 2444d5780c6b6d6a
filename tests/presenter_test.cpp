// The two displays: what they say, and the real dialogs once each.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <QWindow>

#include <functional>

#include "application.h"
#include "message_presenter.h"
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

    struct Seen {
        QString title;
        QString text;
        bool modal = false;
        bool onTop = false;
        bool centred = false;
        bool hasIcon = false;
        bool titleBarIcon = false;
        bool minimiseOrMaximise = false;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        QString defaultButton;
        bool closedByEscape = false;
    };

    // Whether an icon has a pixel that is not fully transparent.
    static bool Visible(const QIcon& icon)
    {
        const QImage image = icon.pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0)
                    return true;
        return false;
    }

    // Looks at the box that is open, then answers it with Escape.
    static void Inspect(Seen& seen)
    {
        QTimer::singleShot(50, [&seen] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box)
                return;
            seen.title = box->windowTitle();
            seen.modal = box->windowModality() == Qt::ApplicationModal;
            seen.onTop = box->windowFlags() & Qt::WindowStaysOnTopHint;
            seen.titleBarIcon = Visible(box->windowHandle()->icon());
            seen.minimiseOrMaximise = !(box->windowFlags() & Qt::CustomizeWindowHint) ||
                                      (box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
            const QRect screen = box->screen()->geometry();
            seen.centred = (box->frameGeometry().center() - screen.center()).manhattanLength() <= 2;
            if (auto* message = qobject_cast<QMessageBox*>(box)) {
                seen.text = message->text();
                seen.icon = message->icon();
                seen.hasIcon = !message->iconPixmap().isNull();
            } else if (auto* label = box->findChild<QLabel*>(u"MessageText"_s)) {
                seen.text = label->text();
                seen.hasIcon = false;
            }
            for (QPushButton* button : box->findChildren<QPushButton*>()) {
                seen.buttons << button->text().remove(u'&');
                if (button->isDefault())
                    seen.defaultButton = button->text().remove(u'&');
            }
            QTest::keyClick(box, Qt::Key_Escape);
            seen.closedByEscape = !box->isVisible();
        });
    }

private slots:
    void initTestCase()
    {
        NameApplication();  // the program's own title, not one set here
        QApplication::setWindowIcon(ShipIcon());  // as the program has it: the boxes must not show it
    }

    // The two boxes alike but for the error's icon and final point; the
    // error shown with no owner window, the message with one.
    void boxes_data()
    {
        QTest::addColumn<bool>("error");
        QTest::addColumn<QString>("shown");
        QTest::newRow("message") << false << u"Не вбран тип корабля"_s;
        QTest::newRow("error") << true << u"'12,5' is not a valid floating point value."_s;
    }
    void boxes()
    {
        QFETCH(bool, error);
        QFETCH(QString, shown);
        QWidget owner;
        owner.show();
        DialogPresenter presenter(error ? nullptr : &owner);
        Seen seen;
        Inspect(seen);
        if (error)
            presenter.ShowError("'12,5' is not a valid floating point value");
        else
            presenter.ShowMessage("Не вбран тип корабля");
        QCOMPARE(seen.title, u"Kvorn calculator"_s);
        QCOMPARE(seen.text, shown);
        QCOMPARE(seen.icon, error ? QMessageBox::Critical : QMessageBox::NoIcon);
        QCOMPARE(seen.hasIcon, error);
        QVERIFY(seen.modal);
        QVERIFY(seen.onTop);
        QVERIFY(seen.centred);
        QVERIFY(!seen.titleBarIcon);
        QVERIFY(!seen.minimiseOrMaximise);
        QCOMPARE(seen.buttons, QStringList{u"OK"_s});
        QCOMPARE(seen.defaultButton, u"OK"_s);
        QVERIFY(seen.closedByEscape);
    }

    void messageWrapsWithinHalfTheScreen()
    {
        DialogPresenter presenter;
        int width = 0, height = 0, needed = 0;
        QTimer::singleShot(50, [&] {
            QWidget* box = QApplication::activeModalWidget();
            const QLabel* label = box->findChild<QLabel*>(u"MessageText"_s);
            width = label->width();
            height = label->height();
            // The whole text shows: as high as it is wrapped at that width.
            needed = label->fontMetrics().boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, label->text()).height();
            QTest::keyClick(box, Qt::Key_Return);  // OK is the default button
        });
        presenter.ShowMessage(QString(60, u'x').append(u' ').repeated(20).toStdString());
        QVERIFY(width > 0);
        QVERIFY(width <= QGuiApplication::primaryScreen()->geometry().width() / 2);
        QVERIFY2(height >= needed, qPrintable(u"%1 < %2"_s.arg(height).arg(needed)));
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
