#include "scriptlet_library.h"

#include "files/data_file.h"
#include "script_text.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The package's largest module is about 100 KiB.
constexpr qint64 LargestModule = 4 * 1024 * 1024;
constexpr int MostModules = 200;

// "json-prune" as the lists write it, "json-prune.js" as the package names it.
QString fullName(QString name)
{
    name = name.trimmed();
    return name.endsWith(u".js"_s) || name.endsWith(u".fn"_s) ? name : name + u".js"_s;
}

QStringList quotedIn(const QString &text)
{
    static const QRegularExpression Quoted(u"'([^']*)'"_s);
    QStringList found;
    for (const QRegularExpressionMatch &match : Quoted.globalMatch(text))
        found.append(match.captured(1));
    return found;
}

// One module's declarations and registrations, as text.
struct Module
{
    QHash<QByteArray, QByteArray> declarations; // by name: "function a() {...}"
    QHash<QByteArray, QByteArray> aliases;      // "const A = B;" and "import { B as A }"
    struct Registration
    {
        QByteArray identifier;
        QString details; // the object literal's text
    };
    QList<Registration> registrations;
    QStringList imports; // paths
};

Module readModule(const QByteArray &source, const QString &folder)
{
    Module module;
    static const QRegularExpression Import(
        uR"(^import\s+(?:\{([^}]*)\}\s*from\s*)?'([^']+)'\s*;?)"_s,
        QRegularExpression::MultilineOption);
    static const QRegularExpression Declaration(
        uR"(^(?:export\s+)?((?:async\s+)?function\*?|class|const|let|var)\s+([A-Za-z_$][\w$]*))"_s,
        QRegularExpression::MultilineOption);
    static const QRegularExpression Registration(
        uR"(^(?:registerScriptlet\(\s*([A-Za-z_$][\w$]*)\s*,\s*|builtinScriptlets\.push\(\s*)\{)"_s,
        QRegularExpression::MultilineOption);
    static const QRegularExpression Renamed(uR"(^\s*([\w$]+)\s+as\s+([\w$]+)\s*$)"_s);
    static const QRegularExpression FunctionField(uR"(\bfn:\s*([A-Za-z_$][\w$]*))"_s);

    // As Latin-1, each byte one character: the offsets found in the text are the bytes'.
    const QString text = QString::fromLatin1(source);
    const QByteArrayView bytes(source);
    for (const QRegularExpressionMatch &match : Import.globalMatch(text)) {
        module.imports.append(QDir::cleanPath(QDir(folder).filePath(match.captured(2))));
        for (const QString &binding : match.captured(1).split(u',')) {
            const QRegularExpressionMatch renamed = Renamed.match(binding);
            if (renamed.hasMatch())
                module.aliases.insert(renamed.captured(2).toLatin1(),
                                      renamed.captured(1).toLatin1());
        }
    }
    for (const QRegularExpressionMatch &match : Declaration.globalMatch(text)) {
        const qsizetype start = match.capturedStart(1);
        const qsizetype nameEnd = match.capturedEnd(2);
        const QByteArray name = match.captured(2).toLatin1();
        qsizetype end = -1;
        if (match.captured(1) == u"class") {
            const qsizetype body = ScriptText::findOutside(bytes, nameEnd, "{");
            end = body < 0 ? -1 : ScriptText::closing(bytes, body);
        } else if (match.captured(1).endsWith(u"function") || match.captured(1).endsWith(u'*')) {
            const qsizetype parameters = ScriptText::findOutside(bytes, nameEnd, "(");
            const qsizetype close = parameters < 0 ? -1 : ScriptText::closing(bytes, parameters);
            const qsizetype body = close < 0 ? -1 : ScriptText::findOutside(bytes, close + 1, "{");
            end = body < 0 ? -1 : ScriptText::closing(bytes, body);
        } else {
            end = ScriptText::findOutside(bytes, nameEnd, ";\n");
            static const QRegularExpression Plain(uR"(^\s*=\s*([A-Za-z_$][\w$]*)\s*$)"_s);
            const QRegularExpressionMatch plain =
                Plain.match(text.mid(nameEnd, end < 0 ? -1 : end - nameEnd));
            if (plain.hasMatch()) {
                module.aliases.insert(name, plain.captured(1).toLatin1());
                continue;
            }
        }
        if (end > 0)
            module.declarations.insert(name, source.mid(start, end + 1 - start));
    }
    for (const QRegularExpressionMatch &match : Registration.globalMatch(text)) {
        const qsizetype open = match.capturedEnd(0) - 1;
        const qsizetype close = ScriptText::closing(bytes, open);
        if (close < 0)
            continue;
        Module::Registration registration{match.captured(1).toLatin1(),
                                          text.mid(open, close + 1 - open)};
        if (registration.identifier.isEmpty())
            registration.identifier =
                FunctionField.match(registration.details).captured(1).toLatin1();
        if (!registration.identifier.isEmpty())
            module.registrations.append(registration);
    }
    return module;
}

} // namespace

ScriptletLibrary ScriptletLibrary::read(const QStringList &packageFolders)
{
    for (const QString &package : packageFolders) {
        const QString js = QDir(package).filePath(u"js"_s);
        ScriptletLibrary library = fromModule(QDir(js).filePath(u"resources/scriptlets.js"_s), js);
        if (!library.isEmpty())
            return library;
    }
    return {};
}

ScriptletLibrary ScriptletLibrary::fromModule(const QString &path, const QString &within)
{
    // Every module the first one reaches, each read once.
    QHash<QString, Module> modules;
    QStringList waiting{QDir::cleanPath(path)};
    const QString root = QDir::cleanPath(within) + u'/';
    while (!waiting.isEmpty() && modules.size() < MostModules) {
        const QString next = waiting.takeFirst();
        if (modules.contains(next) || !next.startsWith(root))
            continue;
        const std::optional<QByteArray> source = DataFile::read(next, LargestModule);
        if (!source)
            continue;
        const Module module = readModule(*source, QFileInfo(next).path());
        waiting.append(module.imports);
        modules.insert(next, module);
    }

    // A name's declaration, in whichever module declares it under whichever alias.
    QHash<QByteArray, QByteArray> declarations;
    QHash<QByteArray, QByteArray> aliases;
    for (const Module &module : std::as_const(modules)) {
        declarations.insert(module.declarations);
        aliases.insert(module.aliases);
    }
    const auto declarationOf = [&](QByteArray name) {
        for (int hops = 0; hops < 8 && !declarations.contains(name) && aliases.contains(name);
             ++hops)
            name = aliases.value(name);
        return declarations.value(name);
    };

    ScriptletLibrary library;
    QHash<QByteArray, QString> nameOfIdentifier;
    QList<std::pair<Function, QString>> registered; // with the dependencies' text
    static const QRegularExpression Name(uR"(\bname:\s*'([^']+)')"_s);
    static const QRegularExpression Aliases(uR"(\baliases:\s*\[([^\]]*)\])"_s);
    static const QRegularExpression Dependencies(uR"(\bdependencies:\s*\[([^\]]*)\])"_s);
    static const QRegularExpression Isolated(uR"(\bworld:\s*'ISOLATED')"_s);
    static const QRegularExpression Trust(uR"(\brequiresTrust:\s*true)"_s);
    for (const Module &module : std::as_const(modules)) {
        for (const Module::Registration &registration : module.registrations) {
            const QString name = Name.match(registration.details).captured(1);
            const QByteArray source = declarationOf(registration.identifier);
            if (name.isEmpty() || source.isEmpty() || library.m_byName.contains(name))
                continue;
            Function function;
            function.identifier = registration.identifier;
            function.source = source;
            function.world =
                Isolated.match(registration.details).hasMatch() ? World::Isolated : World::Page;
            function.requiresTrust = Trust.match(registration.details).hasMatch();
            const int at = int(library.m_functions.size());
            library.m_byName.insert(name, at);
            for (const QString &alias : quotedIn(Aliases.match(registration.details).captured(1)))
                library.m_byName.insert(alias, at);
            nameOfIdentifier.insert(registration.identifier, name);
            library.m_functions.push_back(function);
            registered.append({function, Dependencies.match(registration.details).captured(1)});
        }
    }
    // Helpers named by their identifier or by their name.
    for (int at = 0; at < int(registered.size()); ++at)
        for (const QString &helper : registered[at].second.split(u',')) {
            QString name = helper.trimmed();
            if (name.startsWith(u'\'') && name.endsWith(u'\'') && name.size() > 1)
                name = name.sliced(1, name.size() - 2);
            else
                name = nameOfIdentifier.value(name.toLatin1());
            if (!name.isEmpty())
                library.m_functions[size_t(at)].dependencies.append(name);
        }
    return library;
}

const ScriptletLibrary::Function *ScriptletLibrary::find(const QString &name) const
{
    const auto at = m_byName.constFind(fullName(name));
    return at == m_byName.cend() ? nullptr : &m_functions[size_t(*at)];
}

ScriptletLibrary::Availability ScriptletLibrary::availability(const QString &name,
                                                              bool trustedList) const
{
    // Helpers ("….fn") are the functions' own, never a rule's.
    const Function *function = fullName(name).endsWith(u".fn"_s) ? nullptr : find(name);
    if (!function)
        return Availability::Missing;
    return function->requiresTrust && !trustedList ? Availability::NeedsTrust
                                                   : Availability::Available;
}

void ScriptletLibrary::addWithHelpers(const Function &function,
                                      QList<const Function *> &order) const
{
    if (order.contains(&function))
        return;
    order.append(&function); // before its helpers are looked at, so a cycle ends
    for (const QString &helper : function.dependencies)
        if (const Function *found = find(helper))
            addWithHelpers(*found, order);
}

QString ScriptletLibrary::compose(const QList<Call> &calls, World world) const
{
    QList<const Function *> order;
    QStringList invocations;
    for (const Call &call : calls) {
        const Function *function = find(call.name);
        if (!function || function->world != world)
            continue;
        addWithHelpers(*function, order);
        // The arguments as JSON strings, which is JavaScript the page cannot make more of.
        const QString arguments =
            QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(call.arguments))
                                  .toJson(QJsonDocument::Compact));
        invocations.append(u"try { %1(...%2); } catch (e) {}"_s.arg(
            QString::fromLatin1(function->identifier), arguments));
    }
    if (invocations.isEmpty())
        return {};
    QString script = u"(function () {\nconst scriptletGlobals = {};\n"_s;
    for (const Function *function : std::as_const(order))
        script += QString::fromUtf8(function->source) + u'\n';
    return script + invocations.join(u'\n') + u"\n})();\n"_s;
}

ScriptletLibrary::Call ScriptletLibrary::parseCall(QByteArrayView text)
{
    // Commas part the arguments unless escaped; quotes around one are not part of it.
    QStringList parts;
    QString part;
    const QString whole = QString::fromUtf8(text);
    for (qsizetype at = 0; at < whole.size(); ++at) {
        if (whole[at] == u'\\' && at + 1 < whole.size() && whole[at + 1] == u',') {
            part += u',';
            ++at;
        } else if (whole[at] == u',') {
            parts.append(std::exchange(part, {}));
        } else {
            part += whole[at];
        }
    }
    parts.append(part);
    for (QString &argument : parts) {
        argument = argument.trimmed();
        if (argument.size() >= 2 && QStringView(u"'\"`").contains(argument.front()) &&
            argument.back() == argument.front())
            argument = argument.sliced(1, argument.size() - 2);
    }
    const QString name = parts.takeFirst();
    return {fullName(name), parts};
}
