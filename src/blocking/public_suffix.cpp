#include "public_suffix.h"

#include <libpsl.h>

namespace Blocking {

namespace {

bool isNumbered(QByteArrayView host)
{
    return host.isEmpty() || (host.back() >= '0' && host.back() <= '9') || host.contains(':');
}

} // namespace

QByteArrayView siteOf(const QByteArray &host)
{
    if (isNumbered(host))
        return host;
    // The newer of libpsl's own list and the one Debian's publicsuffix package keeps current; read
    // once and never changed, so every thread may ask it.
    static const psl_ctx_t *const Suffixes = psl_latest(nullptr);
    const char *site = psl_registrable_domain(Suffixes, host.constData());
    return site ? QByteArrayView(site, host.constEnd() - site) : QByteArrayView(host);
}

QByteArrayView withoutPublicSuffix(const QByteArray &host)
{
    const QByteArrayView site = siteOf(host);
    const qsizetype dot = site.indexOf('.');
    if (isNumbered(host) || dot < 0)
        return {};
    return QByteArrayView(host).first(host.size() - (site.size() - dot));
}

} // namespace Blocking
