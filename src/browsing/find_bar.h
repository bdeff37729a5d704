#ifndef REELHOP_BROWSING_FIND_BAR_H
#define REELHOP_BROWSING_FIND_BAR_H

#include <QPointer>
#include <QWidget>

class BrowserView;
class QLabel;
class QLineEdit;

// Finds a text in one view's page: Enter and F3 go to the next match, Shift with either to the
// one before; the bar says which match of how many. Esc or closing ends the search and its
// highlight.
class FindBar final : public QWidget
{
    Q_OBJECT

public:
    explicit FindBar(QWidget *parent = nullptr);

    void open(BrowserView *view);
    void dismiss();
    void find(bool backward);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMatches(int activeMatch, int matches);

    QPointer<BrowserView> m_view;
    QLineEdit *m_text = nullptr;
    QLabel *m_matches = nullptr;
};

#endif
