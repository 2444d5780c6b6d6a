#include "application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

#include "dialog_presenter.h"
#include "form1_window.h"
#include "form_description.h"
#include "wide_text.h"

namespace kvorn {

namespace {

constexpr const char* ProgramName = "kvorn-calculator";

// Wayland lets no program place its window or keep it on top, and both are
// part of this window: where an X server is also reachable, use it.
void PreferX11()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                         qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    if (wayland && qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

bool HasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;  // the user chose a platform; let it speak for itself
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

// Qt aborts with several paragraphs when no platform starts; say it in one
// line and leave with an ordinary failure instead.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool platform = context.category && QByteArray(context.category).startsWith("qt.qpa");
    if (type == QtFatalMsg) {
        if (message.contains(QLatin1String("platform plugin"))) {
            const QByteArray display = qgetenv("DISPLAY");
            std::fprintf(stderr, "%s: cannot open the display%s%s: no window system answered\n", ProgramName,
                         display.isEmpty() ? "" : " ", display.constData());
            std::fflush(stderr);
            std::_Exit(1);
        }
        std::fprintf(stderr, "%s: %s\n", ProgramName, qPrintable(message));
        std::abort();
    }
    if (platform && type != QtCriticalMsg &&
        (message.contains(QLatin1String("could not connect")) || message.contains(QLatin1String("Could not load"))))
        return;  // the fatal message that follows says it once
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

void NameApplication()
{
    QApplication::setApplicationName(QStringLiteral("kvorn-calculator"));
    QApplication::setApplicationDisplayName(
        Widen(kvorn::ApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral("org.kvorn.Calculator"));
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void TranslateQtIntoRussian()
{
    // Memory-mapped, not read.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;  // the menus stay in English, the window works
}

int RunCalculator(int argc, char** argv)
{
    // Laid out in pixels at 96 dpi; Qt 6 would scale it otherwise.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    PreferX11();
    if (!HasDisplay()) {
        std::fprintf(stderr, "%s: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
                     ProgramName);
        return 1;
    }
    qInstallMessageHandler(OnQtMessage);

    QApplication application(argc, argv);
    // Qt draws nothing on a display of 256 colours and then crashes.
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && screen->depth() <= 8) {
        std::fprintf(stderr, "%s: the display shows %d bits a pixel; the window needs 16 or more\n", ProgramName,
                     screen->depth());
        return 1;
    }
    NameApplication();

    DialogPresenter presenter;
    Form1Window Form1(presenter);
    // The application takes the form's icon as it arrives: decoded once.
    QObject::connect(&Form1, &QWidget::windowIconChanged, &application, &QApplication::setWindowIcon);
    presenter.SetOwner(&Form1);
    Form1.show();
    // Needed first by a field's menu: loaded once the window is on its way
    // to the screen, off the path to its first picture.
    QMetaObject::invokeMethod(&application, TranslateQtIntoRussian, Qt::QueuedConnection);
    application.exec();
    return 0;
}

}  // namespace kvorn
