#ifndef REELHOP_BLOCKING_ENCODED_ADDRESS_H
#define REELHOP_BLOCKING_ENCODED_ADDRESS_H

#include <QByteArray>
#include <QUrl>

namespace Blocking {

// The address byte for byte as QUrl::toEncoded writes it, a long query for less: Qt writes a
// whole address a character at a time, asking of each whether to encode it (1.5 ms for 2 MB).
QByteArray encodedAddress(const QUrl &address);

} // namespace Blocking

#endif
