#ifndef REELHOP_BLOCKING_PUBLIC_SUFFIX_H
#define REELHOP_BLOCKING_PUBLIC_SUFFIX_H

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <functional>

// Which site a host belongs to, by the Public Suffix List (libpsl, with Debian's copy of the list).
namespace Blocking {

// The registrable domain of a lower-case host, private domains included ("a.github.io"); a
// public suffix, a single label or an address by number is its own site.
QByteArrayView siteOf(const QByteArray &host);

// The host without its public suffix ("www.example" of "www.example.co.uk"), as lists name a
// site under every suffix ("example.*"); nothing for an address by number or a bare suffix.
QByteArrayView withoutPublicSuffix(const QByteArray &host);

// Every name a list may give the host's site by: the host, each domain above it, and the same
// under any public suffix ("www.example.*", "example.*").
QList<QByteArray> namesOf(const QByteArray &host);
// The same, each name given to `found` in turn, without a copy of its own.
void forEachNameOf(const QByteArray &host, const std::function<void(QByteArrayView)> &found);

} // namespace Blocking

#endif
