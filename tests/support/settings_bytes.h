#ifndef REELHOP_TESTS_SETTINGS_BYTES_H
#define REELHOP_TESTS_SETTINGS_BYTES_H

#include <QByteArray>
#include <QList>

// Settings bytes with the given box states, " n " and CR LF each, as the program writes them.
inline QByteArray settingsBytes(const QList<int> &states)
{
    QByteArray bytes;
    for (const int state : states)
        bytes += ' ' + QByteArray::number(state) + " \r\n";
    return bytes;
}

#endif
