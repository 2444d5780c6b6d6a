#include "regional_settings.h"

#include <QtGlobal>
#include <QLocale>
#include <QString>

#include "decimal_separator.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace kvorn {

char32_t RegionalSeparator()
{
    QString point;
#ifdef Q_OS_WIN
    // Asked afresh: Qt keeps the system locale it saw at start-up.
    wchar_t buffer[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 0)
        point = QString::fromWCharArray(buffer);
#else
    // The same variables, in the same order of precedence, that Qt's own
    // system locale is derived from; read afresh rather than from Qt's cache.
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty()) {
            point = QLocale(name).decimalPoint();
            break;
        }
    }
#endif
    return UsableSeparator(point.toStdString());
}

}  // namespace kvorn
