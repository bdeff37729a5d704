#ifndef REELHOP_SETTINGS_OPTIONS_DIALOG_H
#define REELHOP_SETTINGS_OPTIONS_DIALOG_H

#include "settings_file.h"

#include <QWidget>
#include <array>

class QCloseEvent;
class QPushButton;
class QTabWidget;
class SettingCheckBox;

// The eighteen option boxes, which are the program's live settings, in a modeless window.
// Made means loaded: the boxes take the file's states at once. "SAVE" stores them and hides the
// window; "CANCEL" and the close box unload it, which the owner learns through unloaded().
class OptionsDialog final : public QWidget
{
    Q_OBJECT

public:
    explicit OptionsDialog(QString settingsPath, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(OptionsDialog)

    int state(int box) const;
    SettingsFile::States states() const;

    // Boxes the file names take its states; the others keep theirs.
    void applySettingsFile();

signals:
    void unloaded();
    void saveFailed(const QString &filePath);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Command1_Click();
    void Command2_Click();

    QString m_settingsPath;
    QTabWidget *SSTab1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    std::array<SettingCheckBox *, SettingsFile::BoxCount> Check1{};
};

#endif
