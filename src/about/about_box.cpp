#include "about_box.h"

#include "form/fonts.h"
#include "form/twips.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel *createLabel(QWidget *parent, const QString &name, const QString &text, const QFont &font,
                    const QColor &colour, QRect place)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setGeometry(place);
    return label;
}

} // namespace

AboutBox::AboutBox(const QString &engineVersion, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Reelhop"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/reelhop.svg")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(Twips::size(5730, 3855));
    // However it is closed, the box is discarded; the next opening makes a new one.
    connect(this, &QDialog::finished, this, &QObject::deleteLater);

    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setGeometry(Twips::rect(4320, 3360, 1260, 345));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("picIcon"));
    m_picture->setGeometry(Twips::rect(120, 120, 975, 1110));
    m_picture->setPixmap(QIcon(QStringLiteral(":/icons/reelhop.svg")).pixmap(QSize(63, 72)));
    m_picture->setAlignment(Qt::AlignCenter);

    const QString comic = QStringLiteral("Comic Sans MS");
    m_title =
        createLabel(this, QStringLiteral("lblTitle"), QStringLiteral("Reelhop"),
                    designFont(comic, 14.25), QColor(0, 0, 255), Twips::rect(1320, 240, 4125, 480));
    m_version =
        createLabel(this, QStringLiteral("lblVersion"), tr("Version 1.20"), designFont(comic, 9.75),
                    palette().color(QPalette::WindowText), Twips::rect(1320, 780, 3885, 225));
    m_description = createLabel(
        this, QStringLiteral("lblDescription"), tr("Search YouTube and other Video Websites."),
        designFont(comic, 12), QColor(0, 0, 128), Twips::rect(1560, 1125, 3885, 1530));
    m_disclaimer = createLabel(this, QStringLiteral("lblDisclaimer"),
                               tr("Reelhop is free to use and comes without any warranty."),
                               designFont(QStringLiteral("MS Sans Serif"), 9.75), Qt::black,
                               Twips::rect(255, 2865, 3870, 825));

    // Which engine draws the pages, and how old its security fixes are, is the user's to know.
    if (!engineVersion.isEmpty())
        createLabel(this, QStringLiteral("lblEngine"),
                    tr("Pages are drawn by %1.").arg(engineVersion),
                    designFont(QStringLiteral("MS Sans Serif"), 8.25), Qt::black,
                    Twips::rect(1560, 2130, 3885, 450));

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(QRect(QPoint(Twips::toPixels(90), Twips::toPixels(2640)),
                            QPoint(Twips::toPixels(5654), Twips::toPixels(2640))));
    line->setStyleSheet(QStringLiteral("background-color: rgb(128, 128, 128);"));

    // "OK" first, the picture second, as the box was designed.
    m_picture->setFocusPolicy(Qt::TabFocus);
    setTabOrder(m_okButton, m_picture);
    m_okButton->setFocus();
}
