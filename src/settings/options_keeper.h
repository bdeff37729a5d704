#ifndef REELHOP_SETTINGS_OPTIONS_KEEPER_H
#define REELHOP_SETTINGS_OPTIONS_KEEPER_H

#include "search/site_catalogue.h"
#include "settings_file.h"

#include <QObject>
#include <QPointer>

class OptionsDialog;

// The options window, made when it is first opened or asked for and gone when CANCEL or its
// close box unloads it, and the boxes' states: the window's while it is loaded, the settings
// file's otherwise, so that reading them builds no window that no one opened.
class OptionsKeeper final : public QObject
{
    Q_OBJECT

public:
    explicit OptionsKeeper(QString settingsPath, QObject *parent = nullptr);
    ~OptionsKeeper() override;
    Q_DISABLE_COPY_MOVE(OptionsKeeper)

    SettingsFile::States states() const;
    // The sites whose search box is ticked, in tab order.
    QList<int> searchedSites() const;
    // Made and loaded, hidden, when it is not.
    OptionsDialog &dialog(const SiteCatalogue::Lineup &lineup);
    // In front, with the stored choices: changes never saved are undone.
    void show(const SiteCatalogue::Lineup &lineup);
    void showSiteLabels(const SiteCatalogue::Lineup &lineup);

signals:
    void statusMessage(const QString &text);

private:
    QString m_settingsPath;
    QPointer<OptionsDialog> m_dialog;
};

#endif
