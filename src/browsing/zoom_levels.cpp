#include "zoom_levels.h"

#include "browser_view.h"
#include "files/data_file.h"

#include <QDir>
#include <QUrl>
#include <array>

namespace {

constexpr std::array Percents{25,  33,  50,  67,  75,  80,  90,  100, 110,
                              125, 150, 175, 200, 250, 300, 400, 500};
constexpr qint64 MaxFileBytes = 1024 * 1024;
const QString Group = QStringLiteral("zoom");

} // namespace

ZoomLevels::ZoomLevels(QString filePath, QObject *parent)
    : QObject(parent), m_filePath(std::move(filePath))
{
}

QString ZoomLevels::path(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("zoom.ini"));
}

qreal ZoomLevels::stepped(qreal factor, int step)
{
    const int percent = qRound(factor * 100);
    if (step > 0) {
        for (const int next : Percents) {
            if (next > percent)
                return next / 100.0;
        }
        return Percents.back() / 100.0;
    }
    for (auto next = Percents.rbegin(); next != Percents.rend(); ++next) {
        if (*next < percent)
            return *next / 100.0;
    }
    return Percents.front() / 100.0;
}

void ZoomLevels::load()
{
    const std::optional<QByteArray> bytes = DataFile::read(m_filePath, MaxFileBytes);
    m_unreadable = !bytes;
    if (m_unreadable)
        emit statusMessage(
            tr("The zoom of the sites could not be read from %1; pages show at 100%.")
                .arg(QDir::toNativeSeparators(m_filePath)));
    else
        m_text = IniText::fromBytes(*bytes);
}

qreal ZoomLevels::factorFor(const QString &host) const
{
    bool ok = false;
    const int percent = m_text.value(Group, host).value_or(QString()).toInt(&ok);
    // A damaged value is no zoom of the user's: the page shows as it is.
    return ok && percent >= Percents.front() && percent <= Percents.back() ? percent / 100.0 : 1;
}

void ZoomLevels::setFactor(const QString &host, qreal factor)
{
    if (host.isEmpty())
        return;
    if (qFuzzyCompare(factor, 1))
        m_text.remove(Group, host);
    else
        m_text.setValue(Group, host, QString::number(qRound(factor * 100)));
    if (m_unreadable || DataFile::write(m_filePath, m_text.toBytes()))
        return;
    emit statusMessage(tr("The zoom of the sites could not be saved to %1.")
                           .arg(QDir::toNativeSeparators(m_filePath)));
}

void ZoomLevels::follow(BrowserView *view)
{
    connect(view, &BrowserView::zoomStepRequested, this, [this, view](int by) { step(view, by); });
    // Every report may come from a page of another site.
    connect(view, &BrowserView::progressChanged, this, [this, view] {
        const QString host = QUrl(view->locationUrl()).host();
        const qreal factor = host.isEmpty() ? 1 : factorFor(host);
        if (!qFuzzyCompare(view->zoomFactor(), factor))
            view->setZoomFactor(factor);
    });
}

void ZoomLevels::step(BrowserView *view, int step)
{
    const qreal factor = step == 0 ? 1 : stepped(view->zoomFactor(), step);
    view->setZoomFactor(factor);
    setFactor(QUrl(view->locationUrl()).host(), factor);
}
