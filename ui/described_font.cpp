#include "described_font.h"

#include <QFontDatabase>
#include <QStringList>

#include "wide_text.h"

namespace kvorn {

void SubstitutePlatformFaces()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
}

QFont DescribedFont(const kvorn::FontDescription& description)
{
    QFont font(Widen(description.Face));
    font.setPixelSize(description.PixelHeight);
    font.setBold(description.Bold);
    // The stand-ins are wider than the narrow face the fields were sized
    // for: three bold digits must fit a crew field. The installed families
    // are read once: asking for each face runs fontconfig's substitution,
    // and a font match per widget would load a font each.
    static const QStringList installed = QFontDatabase::families();
    if (!installed.contains(font.family(), Qt::CaseInsensitive)) {
        // Named directly rather than through the substitution: Qt then works
        // out the fallbacks of one family, not of each missing one.
        const QStringList standIns = QFont::substitutes(font.family());
        if (!standIns.isEmpty())
            font.setFamilies(standIns);
        font.setStretch(kvorn::StandInWidthPercent);
    }
    return font;
}

}  // namespace kvorn
