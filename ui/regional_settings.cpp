#include "regional_settings.h"

#include <QtGlobal>
#include <QLocale>
#include <QString>

#include "decimal_separator.h"

namespace kvorn {

char32_t RegionalSeparator()
{
    QString point;
    // The same variables, in the same order of precedence, that Qt's own
    // system locale is derived from; read afresh rather than from Qt's cache.
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty()) {
            point = QLocale(name).decimalPoint();
            break;
        }
    }
    return UsableSeparator(point.toStdString());
}

}  // namespace kvorn
