#ifndef REELHOP_BROWSING_DOWNLOAD_QUESTION_H
#define REELHOP_BROWSING_DOWNLOAD_QUESTION_H

#include <QFrame>

// The bar above a tab's page that asks whether to save a file the page sent by itself. It goes
// when answered, or after a minute unanswered.
class DownloadQuestion final : public QFrame
{
    Q_OBJECT

public:
    DownloadQuestion(const QString &name, QWidget *parent);

signals:
    void saveChosen();
};

#endif
