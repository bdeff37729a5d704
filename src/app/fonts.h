#ifndef REELHOP_APP_FONTS_H
#define REELHOP_APP_FONTS_H

// The window names the fonts it was designed with; these map them onto fonts Linux has.
void registerFontSubstitutes();

#endif
