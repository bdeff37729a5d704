#include "frame_rules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

using namespace Qt::StringLiterals;

namespace {

QString scriptName(const QString &frameHost)
{
    return u"reelhop-frame-rules "_s + frameHost;
}

} // namespace

FrameRules::FrameRules(QWebEngineProfile *profile) : QObject(profile), m_profile(profile) {}

FrameRules::~FrameRules() = default;

void FrameRules::add(const QObject *tab, const QString &frameHost, const QString &pageHost,
                     const FrameScripts &code)
{
    // The latest code holds for every page: the lists may have been read again since.
    Host &host = m_hosts[frameHost];
    host.code = code;
    host.pages.insert(tab, pageHost);
    remake(frameHost);
}

void FrameRules::withdraw(const QObject *tab)
{
    QStringList left;
    for (auto it = m_hosts.begin(); it != m_hosts.end(); ++it)
        if (it->pages.remove(tab) > 0)
            left.append(it.key());
    for (const QString &frameHost : std::as_const(left))
        remake(frameHost);
}

void FrameRules::remake(const QString &frameHost)
{
    const QString name = scriptName(frameHost);
    QWebEngineScriptCollection *scripts = m_profile->scripts();
    for (const QWebEngineScript &old : scripts->find(name))
        scripts->remove(old);
    const auto host = m_hosts.constFind(frameHost); // every caller's host is filed
    if (host->pages.isEmpty()) {
        m_hosts.erase(host);
        return;
    }
    // A frame knows its page only by the origins above it; where the engine hides them, the
    // frame gets no rules rather than those another page's frames asked for.
    const QString condition =
        u"location.hostname === %1 && (() => { try { const above = location.ancestorOrigins; "
        "return above.length > 0 && %2.includes(new URL(above[above.length - 1]).hostname); } "
        "catch (e) { return false; } })()"_s.arg(
            quoted(frameHost),
            QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(host->pages.values()))
                                  .toJson(QJsonDocument::Compact)));
    for (const QWebEngineScript &script : FrameRules::scripts(name, condition, host->code))
        scripts->insert(script);
}

QList<QWebEngineScript> FrameRules::scripts(const QString &name, const QString &condition,
                                            const FrameScripts &code)
{
    QList<QWebEngineScript> made;
    const std::pair<const QString &, QWebEngineScript::ScriptWorldId> worlds[] = {
        {code.page, QWebEngineScript::MainWorld},
        {code.isolated, QWebEngineScript::ApplicationWorld}};
    for (const auto &[source, world] : worlds) {
        if (source.isEmpty())
            continue;
        QWebEngineScript script;
        script.setName(name);
        script.setInjectionPoint(QWebEngineScript::DocumentCreation);
        script.setWorldId(world);
        script.setRunsOnSubFrames(true);
        script.setSourceCode(u"if ("_s + condition + u") {\n"_s + source + u"}\n"_s);
        made.append(script);
    }
    return made;
}

QString FrameRules::quoted(const QString &text)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).chopped(1).sliced(1));
}
