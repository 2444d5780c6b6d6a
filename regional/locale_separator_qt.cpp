#include "regional_settings.h"

#include <QLocale>
#include <QString>

#include "decimal_separator.h"

namespace kvorn {

// The window's own: Qt's tables are at hand there, and quicker to a first
// answer than ICU's.
char32_t LocaleSeparator(std::string_view localeName)
{
    const QString name = QString::fromUtf8(localeName.data(), qsizetype(localeName.size()));
    return UsableSeparator(QLocale(name).decimalPoint().toStdString());
}

}  // namespace kvorn
