#ifndef REELHOP_APP_SESSION_KEEPER_H
#define REELHOP_APP_SESSION_KEEPER_H

#include "session/session_file.h"
#include "start_pages.h"

#include <QHash>
#include <QObject>
#include <QTimer>

class BrowserView;
class QLineEdit;
class QTabWidget;
class ResultsTab;
class SiteLineup;

// What the window shows, written to the session file a second after every change, so that a
// killed program loses at most that second, and shown again at a start when the user chose so.
// Only the tab in sight loads at once; each other loads when it is first shown, as a page the
// memory saver discarded does.
class SessionKeeper final : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        QTabWidget *tabs = nullptr;
        StartPages::Views views{};
        QLineEdit *searchBox = nullptr;
        ResultsTab *results = nullptr;
        StartPages::SetTabOn setTabOn;
        const SiteLineup *lineup = nullptr;
    };

    // The session file and the user's choice to start with it are in the folder.
    SessionKeeper(const QString &folder, Parts parts, QObject *parent = nullptr);
    Q_DISABLE_COPY_MOVE(SessionKeeper)

    // Shows the last session when the user chose to start with it; false when it shows nothing.
    // A file that cannot be read is kept aside under another name, never written over, and the
    // status bar says so.
    bool restoreIfChosen();

signals:
    void statusMessage(const QString &text);

private:
    void follow();
    void openPage(int view);
    // The session in the file; nothing when there is none or it cannot be used.
    std::optional<SessionFile::Session> readFile();
    void putAside(const QString &why);
    SessionFile::Session current() const;
    void save();

    QString m_filePath;
    QString m_preferencesPath;
    Parts m_parts;
    QTimer m_saveTimer;
    // Views of the session not shown yet, with what they are to open when they are.
    QHash<int, SessionFile::View> m_waiting;
    std::array<int, SiteCatalogue::ViewCount> m_endedProcesses{};
    bool m_fileRead = false;
    // A file that could not be read nor put aside is never written over.
    bool m_writable = true;
    bool m_lastSaved = true;
};

#endif
