#include "status_panel.h"

#include "twips.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStatusBar>

using namespace Qt::StringLiterals;

StatusPanel::StatusPanel(QWidget *parent) : QLabel(parent) {}

void StatusPanel::showReport(const QString &text)
{
    if (!m_holding)
        setText(text);
}

void StatusPanel::showNotice(const QString &text)
{
    // Notices made before the user could answer (several files at start) all stay in sight.
    setText(m_holding && !this->text().contains(text) ? this->text() + u"  "_s + text : text);
    // The press that led here has been delivered already; the next one is the user's answer.
    if (!std::exchange(m_holding, true))
        QCoreApplication::instance()->installEventFilter(this);
}

void StatusPanel::withdraw(const QString &notice)
{
    if (!text().contains(notice))
        return;
    const QString rest = QString(text()).remove(notice).trimmed();
    setText(rest);
    if (rest.isEmpty() && std::exchange(m_holding, false))
        QCoreApplication::instance()->removeEventFilter(this);
}

bool StatusPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) {
        m_holding = false;
        QCoreApplication::instance()->removeEventFilter(this);
    }
    return QLabel::eventFilter(watched, event);
}

std::pair<StatusPanel *, QLabel *> addStatusPanels(QStatusBar *bar)
{
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(Twips::toPixels(375));
    auto *status = new StatusPanel(bar);
    status->setObjectName(QStringLiteral("Panel1"));
    bar->addWidget(status, 1);
    auto *progress = new QLabel(bar);
    progress->setObjectName(QStringLiteral("Panel2"));
    progress->setMinimumWidth(Twips::toPixels(900));
    progress->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addPermanentWidget(progress);
    return {status, progress};
}
