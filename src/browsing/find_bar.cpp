#include "find_bar.h"

#include "browser_view.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

FindBar::FindBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("findBar"));
    setAutoFillBackground(true);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setPlaceholderText(tr("Find in page"));
    m_text->setAccessibleName(tr("Find in page"));
    m_text->installEventFilter(this);
    m_matches = new QLabel(this);
    m_matches->setObjectName(QStringLiteral("findMatches"));
    m_matches->setMinimumWidth(90);
    auto *closer = new QToolButton(this);
    closer->setText(QStringLiteral("\u2715"));
    closer->setToolTip(tr("Close (Esc)"));
    connect(closer, &QToolButton::clicked, this, &FindBar::dismiss);
    connect(m_text, &QLineEdit::textEdited, this, [this] { find(false); });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_matches);
    layout->addWidget(closer);
    hide();
}

void FindBar::open(BrowserView *view)
{
    if (m_view != view)
        dismiss();
    m_view = view;
    connect(view, &BrowserView::findFinished, this, &FindBar::showMatches, Qt::UniqueConnection);
    show();
    raise();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void FindBar::dismiss()
{
    if (m_view) {
        disconnect(m_view, nullptr, this, nullptr);
        m_view->findText(QString(), false);
    }
    m_view = nullptr;
    m_matches->clear();
    hide();
}

void FindBar::find(bool backward)
{
    if (m_view)
        m_view->findText(m_text->text(), backward);
}

void FindBar::showMatches(int activeMatch, int matches)
{
    if (m_text->text().isEmpty())
        m_matches->clear();
    else if (matches == 0)
        m_matches->setText(tr("No matches"));
    else
        m_matches->setText(tr("%1 of %2").arg(activeMatch).arg(matches));
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QWidget::eventFilter(watched, event);
    const auto *press = static_cast<QKeyEvent *>(event);
    // Esc is the bar's while it has the keys, even while a page loads.
    if (press->key() == Qt::Key_Escape) {
        if (event->type() == QEvent::KeyPress)
            dismiss();
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress &&
        (press->key() == Qt::Key_Return || press->key() == Qt::Key_Enter)) {
        find(press->modifiers() & Qt::ShiftModifier);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
