#include "toolbar_row.h"

#include "form/fonts.h"
#include "form/text_button.h"
#include "form/twips.h"
#include "search/search_history.h"

#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

QToolButton *pictureButton(QWidget *client, const QString &name, const QString &tooltip,
                           const QString &keys, const QString &icon, QRect place)
{
    auto *button = new QToolButton(client);
    button->setObjectName(name);
    // The tooltip names the button and, as browsers do, its key.
    button->setToolTip(u"%1 (%2)"_s.arg(tooltip, keys));
    button->setAccessibleName(tooltip);
    button->setIcon(QIcon(QStringLiteral(":/icons/") + icon));
    button->setIconSize(QSize(24, 24));
    button->setGeometry(place);
    return button;
}

// A drop-down of the height it is given: a menu bar sizes itself by its corner widget's size
// hints, not by the widget's limits.
class BoundedComboBox final : public QComboBox
{
public:
    using QComboBox::QComboBox;
    QSize sizeHint() const override { return QComboBox::sizeHint().boundedTo(maximumSize()); }
    QSize minimumSizeHint() const override
    {
        return QComboBox::minimumSizeHint().boundedTo(maximumSize());
    }
};

} // namespace

ToolbarRow::ToolbarRow(QWidget *client)
{
    back = pictureButton(client, QStringLiteral("Command1"), tr("Back"), u"Alt+Left"_s,
                         QStringLiteral("back.svg"), Twips::rect(0, 0, 615, 375));
    forward = pictureButton(client, QStringLiteral("Command16"), tr("Forward"), u"Alt+Right"_s,
                            QStringLiteral("forward.svg"), Twips::rect(600, 0, 615, 375));
    stop = pictureButton(client, QStringLiteral("Command17"), tr("Stop"), u"Esc"_s,
                         QStringLiteral("stop.svg"), Twips::rect(1200, 0, 615, 375));
    refresh = pictureButton(client, QStringLiteral("Command18"), tr("Refresh"), u"F5"_s,
                            QStringLiteral("refresh.svg"), Twips::rect(1800, 0, 615, 375));
    print = pictureButton(client, QStringLiteral("Command19"), tr("Print"), u"Ctrl+P"_s,
                          QStringLiteral("print.svg"), Twips::rect(2400, 0, 615, 375));

    addressBox = new QComboBox(client);
    addressBox->setObjectName(QStringLiteral("Combo1"));
    addressBox->setEditable(true);
    addressBox->setInsertPolicy(QComboBox::NoInsert);
    addressBox->setAccessibleName(tr("Web address"));
    addressBox->setToolTip(tr("Web address (Ctrl+L)"));
    // A pasted text is taken whole, however long; Qt's boxes would cut it at 32767 characters.
    addressBox->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    addressBox->setGeometry(Twips::rect(3000, 50, 5415, 315));

    go = pictureButton(client, QStringLiteral("Command22"), tr("Go to Web Address"), u"Enter"_s,
                       QStringLiteral("go.svg"), Twips::rect(8400, 50, 500, 315));
    go->setIconSize(QSize(30, 19));
    go->setStyleSheet(QStringLiteral("QToolButton { background-color: rgb(192, 192, 255); }"));

    searchBox = new QLineEdit(client);
    searchBox->setObjectName(QStringLiteral("Text1"));
    searchBox->setAccessibleName(tr("Search text"));
    searchBox->setToolTip(
        tr("Search videos on every chosen site: type and press Enter (Ctrl+K); !keyword and the "
           "text search one site"));
    searchBox->setPlaceholderText(tr("Search videos"));
    searchBox->setMaxLength(SearchHistory::LongestSearch);
    searchBox->setGeometry(Twips::rect(8880, 50, 1935, 315));

    searchButton = createTextButton(client, QStringLiteral("Command21"), tr("Find It!"),
                                    Twips::rect(10800, 0, 855, 375));
    searchButton->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75));
    addFavorite = createTextButton(client, QStringLiteral("Command11"), tr("Add to Favorites"),
                                   Twips::rect(11640, 0, 1335, 375));
    addFavorite->setToolTip(tr("Ctrl+D"));

    groupBox = new BoundedComboBox(client);
    groupBox->setObjectName(QStringLiteral("groupBox"));
    groupBox->setAccessibleName(tr("Sites to search"));
    groupBox->setToolTip(tr("What Find It! searches: the options' Search boxes or a group of "
                            "sites (@group and the text search a group once)"));
    groupBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

QList<QWidget *> ToolbarRow::inFocusOrder() const
{
    return {back, forward,   stop,         refresh,     print,   addressBox,
            go,   searchBox, searchButton, addFavorite, groupBox};
}

void ToolbarRow::placeGroupBox(QMenuBar *menuBar) const
{
    // What the bar keeps around a corner widget: its frame, its margins, and the space below.
    const QStyle *style = menuBar->style();
    const int margins = 2 * (style->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, menuBar) +
                             style->pixelMetric(QStyle::PM_MenuBarVMargin, nullptr, menuBar)) +
                        style->styleHint(QStyle::SH_MainWindow_SpaceBelowMenuBar, nullptr, menuBar);
    groupBox->setFixedHeight(menuBar->sizeHint().height() - margins);
    menuBar->setCornerWidget(groupBox);
}

void ToolbarRow::addFocusKeys(QWidget *window) const
{
    QObject::connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), window),
                     &QShortcut::activated, addressBox, [box = addressBox] {
                         box->setFocus(Qt::ShortcutFocusReason);
                         box->lineEdit()->selectAll();
                     });
    QObject::connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), window),
                     &QShortcut::activated, searchBox, [box = searchBox] {
                         box->setFocus(Qt::ShortcutFocusReason);
                         box->selectAll();
                     });
}
