#include "page_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
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
    // Made here rather than by QInputDialog, whose label would take the page's text as markup
    // and which has no room for the box that stops the page.
    QDialog dialog(QWebEngineView::forPage(m_page));
    dialog.setObjectName(QStringLiteral("pageDialog"));
    dialog.setWindowTitle(origin.host());
    auto *layout = new QVBoxLayout(&dialog);
    auto *text = new QLabel(message);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *answer = new QLineEdit(defaultValue);
    layout->addWidget(answer);
    QCheckBox *stop = offerToStop();
    if (stop)
        layout->addWidget(stop);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    const bool ok = dialog.exec() == QDialog::Accepted;
    m_stopped = stop && stop->isChecked();
    if (ok)
        *result = answer->text();
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
    QCheckBox *stop = offerToStop();
    if (stop)
        box.setCheckBox(stop);
    const auto answer = QMessageBox::StandardButton(box.exec());
    m_stopped = stop && stop->isChecked();
    return answer;
}

QCheckBox *PageDialogs::offerToStop()
{
    if (++m_shown < 2)
        return nullptr;
    return new QCheckBox(QObject::tr("Don't let this page show more dialogs"));
}
