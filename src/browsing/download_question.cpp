#include "download_question.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

DownloadQuestion::DownloadQuestion(const QString &name, QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("downloadQuestion"));
    setFrameShape(QFrame::StyledPanel);
    auto *row = new QHBoxLayout(this);
    auto *text = new QLabel(tr("This page wants to save \u201c%1\u201d. Save it?").arg(name));
    text->setTextFormat(Qt::PlainText);
    row->addWidget(text, 1);
    auto *save = new QPushButton(tr("&Save"));
    save->setObjectName(QStringLiteral("saveDownload"));
    auto *discard = new QPushButton(tr("&Don't Save"));
    discard->setObjectName(QStringLiteral("discardDownload"));
    row->addWidget(save);
    row->addWidget(discard);
    connect(save, &QPushButton::clicked, this, [this] {
        emit saveChosen();
        deleteLater();
    });
    connect(discard, &QPushButton::clicked, this, &QObject::deleteLater);
    QTimer::singleShot(std::chrono::minutes(1), this, &QObject::deleteLater);
}
