#ifndef REELHOP_RESULTS_RESULTS_MODEL_H
#define REELHOP_RESULTS_RESULTS_MODEL_H

#include "result_list.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>
#include <array>

class Thumbnails;

// The merged results as the list shows them: a row per video in the order arranged.
class ResultsModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { AddressRole = Qt::UserRole, LengthRole, DetailsRole, SitesRole, FirstSiteRole };

    ResultsModel(Thumbnails *thumbnails, QObject *parent = nullptr);

    // The videos, the rows to show and the sites' names.
    void show(QList<ListedVideo> videos, QList<int> rows, const QStringList &siteNames);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    const ListedVideo &videoAt(int row) const { return m_videos[m_rows[row]]; }

    Thumbnails *m_thumbnails = nullptr;
    QList<ListedVideo> m_videos;
    QList<int> m_rows;
    QStringList m_siteNames;
};

// A row: the thumbnail, the title, then the length, author and what the site says beside it,
// then the sites that show it. All plain text.
class ResultDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

#endif
