#ifndef REELHOP_BLOCKING_SCRIPTLET_LIBRARY_H
#define REELHOP_BLOCKING_SCRIPTLET_LIBRARY_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// The functions in-page rules name ("example.com##+js(json-prune, ads)"), read from the installed
// uBlock Origin package (js/resources/scriptlets.js and the modules it imports) when the lists are
// read, never kept in the program; composed with a rule's arguments into a script for the page.
class ScriptletLibrary
{
public:
    // Which world of a page a function runs in: the page's own, or one apart from its scripts.
    enum class World { Page, Isolated };
    // What a rule asks: the function's name ("json-prune.js") and its arguments.
    struct Call
    {
        QString name;
        QStringList arguments;

        bool operator==(const Call &) const = default;
    };
    enum class Availability { Available, Missing, NeedsTrust };

    // From the first package folder whose library reads; empty when none does.
    static ScriptletLibrary read(const QStringList &packageFolders);
    // From the module at the path and those it imports, none outside the folder `within`.
    static ScriptletLibrary fromModule(const QString &path, const QString &within);

    bool isEmpty() const { return m_functions.empty(); }
    int size() const { return int(m_functions.size()); }
    // Whether a rule may call the function; some only rules of the package's own lists may.
    Availability availability(const QString &name, bool trustedList) const;
    // The script that runs the calls in that world, each function and its helpers once; empty
    // when none of them runs there.
    QString compose(const QList<Call> &calls, World world) const;

    // "json-prune, a\, b, 'c'" as the function's name and its arguments.
    static Call parseCall(QByteArrayView text);

private:
    struct Function
    {
        QByteArray identifier; // what the source declares and the calls use
        QByteArray source;
        QStringList dependencies;
        World world = World::Page;
        bool requiresTrust = false;
    };
    const Function *find(const QString &name) const;
    void addWithHelpers(const Function &function, QList<const Function *> &order) const;

    std::vector<Function> m_functions;
    QHash<QString, int> m_byName; // by name and alias
};

#endif
