#ifndef REELHOP_FORM_FONTS_H
#define REELHOP_FORM_FONTS_H

#include <QFont>

// The window names the fonts it was designed with; these map them onto fonts Linux has.
void registerFontSubstitutes();

// A regular, upright font of the design's family and size.
QFont designFont(const QString &family, qreal pointSize);

#endif
