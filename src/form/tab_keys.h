#ifndef REELHOP_FORM_TAB_KEYS_H
#define REELHOP_FORM_TAB_KEYS_H

#include <QObject>

class QTabWidget;
class QWidget;

// The keys tabbed browsers move between tabs with, anywhere in the window: Ctrl+Tab and
// Ctrl+PgDown to the next tab that is switched on, Ctrl+Shift+Tab and Ctrl+PgUp to the previous
// one, round the strip; Alt+1 to Alt+9 to the first nine tabs when they are on.
class TabKeys final : public QObject
{
    Q_OBJECT

public:
    TabKeys(QWidget *window, QTabWidget *tabs);

    // The tab a step of +1 or -1 from the current one reaches, passing over tabs switched off;
    // the current one when no other is on.
    static int stepped(const QTabWidget &tabs, int step);

private:
    QTabWidget *m_tabs = nullptr;
};

#endif
