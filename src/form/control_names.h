#ifndef REELHOP_FORM_CONTROL_NAMES_H
#define REELHOP_FORM_CONTROL_NAMES_H

#include <QString>

// Controls of an array are named like "WebBrowser1(9)", so tests and tools find them by name.
inline QString indexedName(QStringView name, int index)
{
    return QStringLiteral("%1(%2)").arg(name).arg(index);
}

#endif
