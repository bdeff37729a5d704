#ifndef REELHOP_SETTINGS_OPTIONS_DIALOG_H
#define REELHOP_SETTINGS_OPTIONS_DIALOG_H

#include "search/site_catalogue.h"
#include "settings_file.h"

#include <QWidget>
#include <array>

class QCloseEvent;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class SettingCheckBox;
class TabPlacement;

// The eighteen option boxes, which are the program's live settings, and what a start shows, in
// a modeless window. Made means loaded: the boxes take the file's states at once. "SAVE" stores
// them and hides the window; "CANCEL" and the close box unload it, which the owner learns
// through unloaded().
class OptionsDialog final : public QWidget
{
    Q_OBJECT

public:
    OptionsDialog(QString settingsPath, const SiteCatalogue::Lineup &lineup,
                  QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(OptionsDialog)

    int state(int box) const;
    SettingsFile::States states() const;

    // Boxes the file names take its states; the others keep theirs.
    void applySettingsFile();

    // Each site's label beside its two boxes.
    void showSiteLabels(const SiteCatalogue::Lineup &lineup);

signals:
    void unloaded();
    void saveFailed(const QString &filePath);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Whether the window starts with the start pages or the last session.
    void addStartChoice(QWidget *page, TabPlacement *placement);
    QString preferencesPath() const;
    void save();

    QString m_settingsPath;
    QTabWidget *m_pages = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    std::array<SettingCheckBox *, SettingsFile::BoxCount> m_boxes{};
    std::array<QLabel *, SettingsFile::BoxCount> m_labels{};
    QComboBox *m_startChoice = nullptr;
    TabPlacement *m_placement = nullptr;
};

#endif
