#include "public_suffix.h"

#include <QVarLengthArray>
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

void forEachNameOf(const QByteArray &host, const std::function<void(QByteArrayView)> &found)
{
    if (host.isEmpty())
        return;
    for (qsizetype dot = -1;;) {
        found(QByteArrayView(host).sliced(dot + 1));
        dot = host.indexOf('.', dot + 1);
        if (dot < 0)
            break;
    }
    const QByteArrayView bare = withoutPublicSuffix(host);
    if (bare.isEmpty())
        return;
    QVarLengthArray<char, 256> name;
    for (qsizetype dot = -1;;) {
        const QByteArrayView domain = bare.sliced(dot + 1);
        name.clear();
        name.append(domain.data(), domain.size());
        name.append(".*", 2);
        found(QByteArrayView(name.data(), name.size()));
        dot = bare.indexOf('.', dot + 1);
        if (dot < 0)
            break;
    }
}

QList<QByteArray> namesOf(const QByteArray &host)
{
    QList<QByteArray> names;
    forEachNameOf(host, [&](QByteArrayView name) { names.append(name.toByteArray()); });
    return names;
}

} // namespace Blocking
