#ifndef REELHOP_BLOCKING_PUBLIC_SUFFIX_H
#define REELHOP_BLOCKING_PUBLIC_SUFFIX_H

#include <QByteArray>
#include <QByteArrayView>

// Which site a host belongs to, by the Public Suffix List (libpsl, with Debian's copy of the list).
namespace Blocking {

// The registrable domain of a lower-case host, private domains included ("a.github.io"); a
// public suffix, a single label or an address by number is its own site.
QByteArrayView siteOf(const QByteArray &host);

// The host without its public suffix ("www.example" of "www.example.co.uk"), as lists name a
// site under every suffix ("example.*"); nothing for an address by number or a bare suffix.
QByteArrayView withoutPublicSuffix(const QByteArray &host);

} // namespace Blocking

#endif
