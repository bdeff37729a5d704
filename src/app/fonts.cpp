#include "fonts.h"

#include <QFont>
#include <QFontDatabase>

void registerFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                              QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
}
