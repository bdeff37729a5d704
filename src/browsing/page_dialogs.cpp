#include "page_dialogs.h"

#include <QCheckBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QWebEngineView>

PageDialogs::PageDialogs(QWebEnginePage *page, std::function<bool()> inSight,
                         std::function<void(const QString &)> say)
    : m_page(page), m_inSight(std::move(inSight)), m_say(std::move(say))
{
}

void PageDialogs::alert(const QUrl &origin, const QString &message)
{
    if (mayShow())
        ask(origin, message, QMessageBox::Ok);
}

bool PageDialogs::confirm(const QUrl &origin, const QString &message)
{
    return mayShow() &&
           ask(origin, message, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool PageDialogs::prompt(const QUrl &origin, const QString &message, const QString &defaultValue,
                         QString *result)
{
    if (!mayShow())
        return false;
    bool ok = false;
    *result = QInputDialog::getText(QWebEngineView::forPage(m_page), origin.host(), message,
                                    QLineEdit::Normal, defaultValue, &ok);
    return ok;
}

void PageDialogs::reset()
{
    m_shown = 0;
    m_stopped = false;
}

bool PageDialogs::mayShow()
{
    if (m_stopped)
        return false;
    if (!m_inSight()) {
        m_say(QObject::tr("A page out of sight wanted to show a message; it was not shown."));
        return false;
    }
    return true;
}

QMessageBox::StandardButton PageDialogs::ask(const QUrl &origin, const QString &message,
                                             QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, origin.host(), message, buttons,
                    QWebEngineView::forPage(m_page));
    box.setTextFormat(Qt::PlainText);
    box.setObjectName(QStringLiteral("pageDialog"));
    QCheckBox *stop = nullptr;
    if (++m_shown > 1) {
        stop = new QCheckBox(QObject::tr("Don't let this page show more dialogs"));
        box.setCheckBox(stop);
    }
    const auto answer = QMessageBox::StandardButton(box.exec());
    m_stopped = stop && stop->isChecked();
    return answer;
}
