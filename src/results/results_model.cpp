#include "results_model.h"

#include "thumbnails.h"

#include <QApplication>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

constexpr int Margin = 4;

} // namespace

ResultsModel::ResultsModel(Thumbnails *thumbnails, QObject *parent)
    : QAbstractListModel(parent), m_thumbnails(thumbnails)
{
    connect(thumbnails, &Thumbnails::arrived, this, [this](const QString &address) {
        for (int row = 0; row < m_rows.size(); ++row) {
            if (videoAt(row).video.thumbnail == address)
                emit dataChanged(index(row), index(row), {Qt::DecorationRole});
        }
    });
}

void ResultsModel::show(QList<ListedVideo> videos, QList<int> rows, const QStringList &siteNames)
{
    beginResetModel();
    m_videos = std::move(videos);
    m_rows = std::move(rows);
    m_siteNames = siteNames;
    m_thumbnails->cancelWaiting();
    endResetModel();
}

int ResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ResultsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ListedVideo &listed = videoAt(index.row());
    const VideoResult &video = listed.video;
    switch (role) {
    case Qt::DisplayRole:
        return video.title;
    case Qt::ToolTipRole:
        return video.address;
    case Qt::DecorationRole:
        return m_thumbnails->picture(video.thumbnail, video.page);
    case AddressRole:
        return video.address;
    case LengthRole:
        return video.length;
    case DetailsRole: {
        QStringList details;
        for (const QString &part : {video.author, video.meta}) {
            if (!part.isEmpty())
                details.append(part);
        }
        return details.join(u"  ·  "_s);
    }
    case SitesRole: {
        QStringList names;
        for (const int site : listed.sites)
            names.append(m_siteNames.value(site));
        return names.join(u", "_s);
    }
    case FirstSiteRole:
        return listed.sites.constFirst();
    default:
        return {};
    }
}

QSize ResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const int lines = 3 * option.fontMetrics.height() + 2 * Margin;
    return {Thumbnails::Size.width() * 4, std::max(Thumbnails::Size.height() + 2 * Margin, lines)};
}

void ResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                           const QModelIndex &index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    background.icon = {};
    background.features &= ~QStyleOptionViewItem::HasDecoration;
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    painter->save();
    const QRect picture(option.rect.topLeft() + QPoint(Margin, Margin), Thumbnails::Size);
    const QPixmap thumbnail = index.data(Qt::DecorationRole).value<QPixmap>();
    if (thumbnail.isNull()) {
        painter->fillRect(picture, option.palette.alternateBase());
    } else {
        const QSize shown = thumbnail.size().scaled(Thumbnails::Size, Qt::KeepAspectRatio);
        painter->drawPixmap(QRect(picture.topLeft(), shown), thumbnail);
    }
    const QString length = index.data(ResultsModel::LengthRole).toString();
    if (!length.isEmpty()) {
        // The length over the thumbnail's corner, as the sites show it.
        QRect badge(QPoint(), option.fontMetrics.size(Qt::TextSingleLine, length) + QSize(6, 2));
        badge.moveBottomRight(picture.bottomRight() - QPoint(3, 3));
        painter->fillRect(badge, QColor(0, 0, 0, 190));
        painter->setPen(Qt::white);
        painter->drawText(badge, Qt::AlignCenter, length);
    }

    const bool selected = option.state & QStyle::State_Selected;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const int left = picture.right() + 2 * Margin;
    const int width = option.rect.right() - Margin - left;
    const int line = option.fontMetrics.height();
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    const QString title =
        QFontMetrics(bold).elidedText(index.data().toString(), Qt::ElideRight, width);
    painter->drawText(QRect(left, option.rect.top() + Margin, width, line), Qt::TextSingleLine,
                      title);
    painter->setFont(option.font);
    const auto plainLine = [&](int number, const QString &text) {
        painter->drawText(QRect(left, option.rect.top() + Margin + number * line, width, line),
                          Qt::TextSingleLine,
                          option.fontMetrics.elidedText(text, Qt::ElideRight, width));
    };
    plainLine(1, index.data(ResultsModel::DetailsRole).toString());
    if (!selected)
        painter->setPen(option.palette.color(QPalette::PlaceholderText));
    plainLine(2, index.data(ResultsModel::SitesRole).toString());
    painter->restore();
}
