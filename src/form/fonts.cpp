#include "fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void registerFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    // The design's buttons fit the narrow "MS Sans Serif"; Liberation Sans keeps them readable.
    const QStringList sans{QStringLiteral("Liberation Sans"),
                           QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
}

QFont designFont(const QString &family, qreal pointSize)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    return font;
}
