#include "app/layout.h"
#include "app/running_copy.h"
#include "blocking/blocker.h"
#include "search/site_catalogue.h"
#include "settings/options_dialog.h"
#include "settings/setting_check_box.h"
#include "support/unprivileged_scope.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QStringList startPageLoads(const QList<int> &views)
{
    QStringList loads;
    for (const int view : views) {
        loads.append(view == SiteCatalogue::HomeView
                         ? u"WebBrowser1(9) showPage reelhop:home"_s
                         : u"WebBrowser1(%1) navigate %2"_s.arg(view).arg(
                               SiteCatalogue::builtInLineup()[view].startPage));
    }
    return loads;
}

// Every file the program keeps in its folder, the settings first.
const QStringList DataFiles{u"svng.msf"_s, u"file.dtt"_s,     u"sites.ini"_s,
                            u"zoom.ini"_s, u"searches.txt"_s, u"groups.ini"_s};

// The controls in sight that stick out of their parent or have no room for their whole text,
// on every page of every tab strip of the window; what scrolls (lists, pages) is left out.
QStringList badlyShownControls(QWidget *window)
{
    QStringList found;
    const auto check = [&found, window] {
        for (QWidget *control : window->findChildren<QWidget *>()) {
            QWidget *parent = control->parentWidget();
            const bool scrolls =
                qobject_cast<QAbstractScrollArea *>(parent) ||
                (parent && qobject_cast<QAbstractScrollArea *>(parent->parentWidget()));
            if (!control->isVisible() || scrolls || qobject_cast<BrowserView *>(parent))
                continue;
            const QString name = control->objectName().isEmpty()
                                     ? QString::fromLatin1(control->metaObject()->className())
                                     : control->objectName();
            if (!parent->rect().contains(control->geometry()))
                found.append(name + u" outside"_s);
            // Nor over another (the form's edges may touch, its rules cross what they set
            // apart): a control that no layout places sits in a corner, on the others.
            const auto isRule = [](const QWidget *widget) {
                return widget && std::min(widget->width(), widget->height()) <= 2;
            };
            for (const QObject *other : isRule(control) ? QObjectList() : parent->children()) {
                const auto *sibling = qobject_cast<const QWidget *>(other);
                if (isRule(sibling))
                    continue;
                const QRect both = sibling ? sibling->geometry() & control->geometry() : QRect();
                const auto area = [](QSize size) { return size.width() * size.height(); };
                if (sibling && sibling != control && sibling->isVisible() && !sibling->isWindow() &&
                    4 * area(both.size()) > std::min(area(control->size()), area(sibling->size())))
                    found.append(name + u" over "_s + sibling->objectName());
            }
            const QFontMetrics metrics = control->fontMetrics();
            QString text;
            int room = 0;
            if (const auto *button = qobject_cast<QAbstractButton *>(control)) {
                text = button->text().remove(u'&');
                // A check box's text follows its box; a button's may reach over its frame.
                const int beside =
                    qobject_cast<QCheckBox *>(control)
                        ? control->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                              control->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing)
                        : 0;
                room = button->width() - beside -
                       (button->icon().isNull() ? 0 : button->iconSize().width());
            } else if (const auto *label = qobject_cast<QLabel *>(control);
                       label && !label->wordWrap() && label->textFormat() != Qt::RichText &&
                       !qobject_cast<QStatusBar *>(parent)) {
                text = label->text();
                room = label->contentsRect().width();
            }
            if (!text.isEmpty() && !text.contains(u'\n') && metrics.horizontalAdvance(text) > room)
                found.append(name + u" text cut: "_s + text);
            // A control that shows no words of its own is named for screen readers.
            const auto *button = qobject_cast<QAbstractButton *>(control);
            const bool wordless =
                (button && button->text().isEmpty()) || qobject_cast<QLineEdit *>(control) ||
                qobject_cast<QComboBox *>(control) || qobject_cast<QAbstractSpinBox *>(control) ||
                qobject_cast<QAbstractItemView *>(control);
            const bool inner =
                qobject_cast<QComboBox *>(parent) || qobject_cast<QAbstractSpinBox *>(parent);
            const QList<QLabel *> labels = window->findChildren<QLabel *>();
            const bool labelled = std::ranges::any_of(
                labels, [control](const QLabel *label) { return label->buddy() == control; });
            if (wordless && !inner && !labelled && control->focusPolicy() != Qt::NoFocus &&
                control->accessibleName().isEmpty())
                found.append(name + u" has no accessible name"_s);
        }
    };
    const QList<QTabWidget *> strips = window->findChildren<QTabWidget *>();
    check();
    for (QTabWidget *strip : strips) {
        const int shown = strip->currentIndex();
        for (int page = 0; page < strip->count(); ++page) {
            strip->setCurrentIndex(page);
            check();
        }
        strip->setCurrentIndex(shown);
    }
    found.removeDuplicates();
    return found;
}

// The options window, opened from the menu as the user does.
OptionsDialog *openOptions(const WindowFixture &fixture)
{
    fixture.find<QAction>(u"Option1"_s)->trigger();
    return &fixture.window->options();
}

SettingCheckBox *box(QWidget *dialog, int index)
{
    return dialog->findChild<SettingCheckBox *>(indexedName(u"Check1", index));
}

// Clicks a box on its tab of the window.
void click(QWidget *dialog, int index)
{
    dialog->findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(index / 9);
    QTest::mouseClick(box(dialog, index), Qt::LeftButton, {}, box(dialog, index)->rect().center());
}

QList<int> states(const OptionsDialog *dialog)
{
    const SettingsFile::States all = dialog->states();
    return QList<int>(all.begin(), all.end());
}

// The printed document as text, its blank lines kept and each new page after a "(new page)" line;
// no lines when pdftotext is missing or fails.
QStringList printedLines(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    if (!pdftotext.waitForFinished() || pdftotext.exitStatus() != QProcess::NormalExit ||
        pdftotext.exitCode() != 0)
        return {};
    QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QStringList lines = text.replace(u'\f', u"\n(new page)\n"_s).split(u'\n');
    for (QString &line : lines)
        line = line.trimmed();
    return lines;
}

NotesPrinterFactory pdfPrinter(const QString &path)
{
    return [path] {
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFileName(path); // a .pdf name prints to PDF
        return printer;
    };
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void startUp_loadsHomeFavoritesAndChosenSitesInOrder_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("favorites");
        QTest::addColumn<QList<int>>("loads");
        QTest::addColumn<QString>("available");
        QTest::addColumn<int>("favoriteCount");
        QTest::addColumn<QString>("special"); // every data file made a pipe, a link or a folder

        const QList<int> homeAndFirst{9, 0};
        const QString firstOn = u"100000000111"_s;
        QTest::newRow("all nine") << settingsBytes(QList<int>(18, 1)) << QByteArray("a\r\nu\r\n")
                                  << QList<int>{9, 0, 1, 2, 3, 4, 5, 6, 7, 8} << u"111111111111"_s
                                  << 1 << QString();
        QTest::newRow("none, empty favorites")
            << QByteArray() << QByteArray() << homeAndFirst << firstOn << 0 << QString();
        QList<int> revver(18, 0);
        revver[8] = 1;
        QTest::newRow("only Revver, favorite cut short")
            << settingsBytes(revver) << QByteArray("a\r\nu\r\nb") << QList<int>{9, 8}
            << u"100000001111"_s << 2 << QString();
        QTest::newRow("greyed boxes are not chosen")
            << settingsBytes(QList<int>(18, 2)) << QByteArray("\xff\xfe\x00", 3) << homeAndFirst
            << firstOn << 1 << QString();
        for (const char *special : {"pipe", "link to /dev/zero", "folder"})
            QTest::newRow(special) << QByteArray() << QByteArray() << homeAndFirst << firstOn << 0
                                   << QString::fromLatin1(special);
    }

    void startUp_loadsHomeFavoritesAndChosenSitesInOrder()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, favorites);
        QFETCH(QList<int>, loads);
        QFETCH(QString, special);

        const auto makeSpecial = [&](const QDir &folder) {
            for (const QString &name : DataFiles) {
                const QString path = folder.filePath(name);
                if (special == u"pipe")
                    QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0644), 0);
                else if (special == u"folder")
                    QVERIFY(folder.mkdir(name));
                else
                    QVERIFY(QFile::link(u"/dev/zero"_s, path));
            }
        };
        WindowFixture fixture(
            special.isEmpty()
                ? QList{std::pair{u"svng.msf"_s, settings}, std::pair{u"file.dtt"_s, favorites}}
                : QList<std::pair<QString, QByteArray>>(),
            special.isEmpty() ? std::function<void(const QDir &)>() : makeSpecial);
        QCOMPARE(fixture.startUpLog, startPageLoads(loads));
        QTEST(fixture.availableTabs(), "available");
        QTEST(fixture.find<QTreeWidget>(u"ListView4"_s)->topLevelItemCount(), "favoriteCount");
        // Each file that cannot be read is worth a word, and none of them hides another; the
        // settings are read quietly.
        for (const QString &name : DataFiles.sliced(1))
            QVERIFY2(fixture.status().contains(fixture.filePath(name)) == !special.isEmpty(),
                     qPrintable(fixture.status()));
        QVERIFY(!WindowFixture::topLevel(u"Options")); // the boxes are read without their window
    }

    void saves_inAReadOnlyFolder_keepTheOldFileAndWhatTheUserDid_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *file : {"svng.msf", "file.dtt", "sites.ini"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }

    void saves_inAReadOnlyFolder_keepTheOldFileAndWhatTheUserDid()
    {
        QFETCH(QString, file);
        const QList<std::pair<QString, QByteArray>> files{
            {u"svng.msf"_s, settingsBytes(QList<int>(18, 0))},
            {u"file.dtt"_s, "One\r\nhttp://1/\r\n"},
            {u"sites.ini"_s, "[site7]\nname=Vimeo\nstart=https://vimeo.com/\n"}};
        WindowFixture fixture(files);
        QVERIFY(makeReadOnly(fixture.folder.path(), fixture.filePath(file)));
        QWidget *sites = nullptr;
        {
            const UnprivilegedScope asOrdinaryUser;
            if (file == u"svng.msf") {
                OptionsDialog *options = openOptions(fixture);
                click(options, 9);
                WindowFixture::click(options, u"Command1"_s);
            } else if (file == u"file.dtt") {
                fixture.click(u"Command11"_s);
            } else {
                fixture.find<QAction>(u"sites"_s)->trigger();
                sites = WindowFixture::topLevel(u"Sites", WindowFixture::Shown::Only);
                WindowFixture::click(sites, u"builtIn(6)"_s);
                WindowFixture::click(sites, u"save"_s);
            }
        }
        QVERIFY(makeWritable(fixture.folder.path()));
        for (const auto &[name, bytes] : files)
            QCOMPARE(fixture.fileBytes(name), bytes);
        // Said where the user looks, the file named; nothing the user did is lost.
        const QString said =
            sites ? sites->findChild<QLabel *>(u"failure"_s)->text() : fixture.status();
        QVERIFY2(said.contains(fixture.filePath(file)), qPrintable(said));
        QCOMPARE(fixture.window->options().state(9), file == u"svng.msf" ? 1 : 0);
        QCOMPARE(fixture.find<QTreeWidget>(u"ListView4"_s)->topLevelItemCount(),
                 file == u"file.dtt" ? 2 : 1);
        QCOMPARE(sites && sites->isVisible(), file == u"sites.ini");
        QCOMPARE(fixture.tabs()->tabText(6), u"Vimeo"_s);
    }

    void unreadableFiles_areNeverReplaced_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *file :
             {"sites.ini", "searches.txt", "zoom.ini", "blocking.ini", "groups.ini"})
            QTest::newRow(file) << QString::fromLatin1(file);
        QTest::newRow("sites.ini, a rule taught") << u"sites.ini"_s;
    }

    // A file that exists but cannot be read holds what the user kept: what would save over it
    // leaves it as it is.
    void unreadableFiles_areNeverReplaced()
    {
        QFETCH(QString, file);
        WindowFixture fixture({{u"svng.msf"_s, settingsBytes(QList<int>(18, 1))}},
                              [&](const QDir &folder) {
                                  QVERIFY(QFile::link(u"/dev/zero"_s, folder.filePath(file)));
                              });
        fixture.showActive();
        fixture.view(3)->location = u"https://a.example/"_s;
        fixture.tabs()->setCurrentIndex(3);
        // Each action is seen to happen, so that the file was asked to be saved over.
        if (qstrcmp(QTest::currentDataTag(), "sites.ini, a rule taught") == 0) {
            emit fixture.view(3)->teachingRequested();
            emit fixture.view(3)->pagePointed(
                QVariantMap{{u"rule"_s, QVariantMap{{u"item"_s, u"li"_s}}},
                            {u"results"_s,
                             QVariantList{QVariantMap{{u"title"_s, u"A"_s},
                                                      {u"link"_s, u"https://a.example/v"_s}}}}},
                true);
            auto *question = WindowFixture::topLevel(u"teachResults", WindowFixture::Shown::Only);
            QTest::mouseClick(qobject_cast<QMessageBox *>(question)->button(QMessageBox::Ok),
                              Qt::LeftButton);
            QVERIFY2(fixture.status().contains(u"was not saved"_s), qPrintable(fixture.status()));
        } else if (file == u"sites.ini") {
            fixture.find<QAction>(u"sites"_s)->trigger();
            QWidget *sites = WindowFixture::topLevel(u"Sites", WindowFixture::Shown::Only);
            WindowFixture::click(sites, u"builtIn(6)"_s);
            WindowFixture::click(sites, u"save"_s);
            QVERIFY(!sites->findChild<QLabel *>(u"failure"_s)->isHidden());
        } else if (file == u"searches.txt") {
            fixture.find<QLineEdit>(u"Text1"_s)->setText(u"cats"_s);
            fixture.click(u"Command21"_s);
            QVERIFY(!fixture.log.isEmpty());
        } else if (file == u"groups.ini") {
            QTest::keyClick(fixture.find<QComboBox>(u"groupBox"_s), Qt::Key_End);
            QVERIFY(!WindowFixture::topLevel(u"Groups"));
            QVERIFY2(fixture.status().contains(u"cannot be edited"_s),
                     qPrintable(fixture.status()));
        } else if (file == u"zoom.ini") {
            QTest::keyClick(fixture.window.get(), Qt::Key_Plus, Qt::ControlModifier);
            QCOMPARE(fixture.view(3)->zoom, 1.1);
        } else {
            fixture.find<QAction>(u"allowSite"_s)->trigger();
            QVERIFY2(fixture.status().contains(u"could not be saved"_s),
                     qPrintable(fixture.status()));
        }
        QVERIFY(QFileInfo(fixture.filePath(file)).isSymLink());
    }

    void layout_keepsTheMarginsAndNeverGoesNegative_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QSize>("strip");
        // 15360 x 11520 twips: views 14710 x 9370, strip 14910 x 9970.
        QTest::newRow("normal") << QSize(1024, 768) << QSize(981, 625) << QSize(994, 665);
        // 1500 twips high or less, as when minimized: everything takes the window's size.
        QTest::newRow("exactly 1500 twips")
            << QSize(400, 100) << QSize(400, 100) << QSize(400, 100);
        QTest::newRow("minimized") << QSize(160, 0) << QSize(160, 0) << QSize(160, 0);
        QTest::newRow("just above 1500") << QSize(400, 101) << QSize(357, 0) << QSize(370, 0);
        QTest::newRow("narrow") << QSize(20, 120) << QSize(0, 0) << QSize(0, 17);
    }

    void layout_keepsTheMarginsAndNeverGoesNegative()
    {
        QFETCH(QSize, window);
        const WindowLayout layout = layoutForWindow(window);
        QTEST(layout.view, "view");
        QTEST(layout.tabStrip, "strip");
    }

    void viewsAndStrip_followTheWindowAtAnySize()
    {
        WindowFixture fixture;
        fixture.tabs()->setCurrentIndex(10);
        fixture.showActive();
        for (const QSize size :
             {QSize(900, 700), QSize(1, 1), QSize(7680, 4320), QSize(1000, 800)}) {
            fixture.window->resize(size);
            QTRY_COMPARE(fixture.window->size(),
                         size.expandedTo(fixture.window->minimumSize())
                             .expandedTo(fixture.window->minimumSizeHint()));
            const WindowLayout layout = layoutForWindow(fixture.window->frameGeometry().size());
            for (int view = 0; view < 10; ++view)
                QCOMPARE(fixture.view(view)->size(), layout.view);
            QCOMPARE(fixture.tabs()->size(), layout.tabStrip);
        }
        // Placed in the strip's coordinates, below the captions.
        QCOMPARE(fixture.view(4)->mapTo(fixture.tabs(), QPoint()), QPoint(8, 32));
    }

    void everyWindow_showsEveryControlWholeAndNamed_atItsStartAndALargeSize()
    {
        WindowFixture fixture;
        fixture.showActive();
        QCOMPARE(badlyShownControls(fixture.window.get()), QStringList());
        // The drop-down in the menu bar's corner leaves the bar, and so the row below, as it was.
        const QMenuBar *bar = fixture.window->menuBar();
        QCOMPARE(bar->height(), bar->actionGeometry(bar->actions().constFirst()).height());
        // In the fonts that stand in for the design's, not in whatever the system finds near.
        QCOMPARE(QFontInfo(fixture.window->font()).family(), u"Liberation Sans"_s);
        QCOMPARE(QFontInfo(fixture.find<QWidget>(u"Text2"_s)->font()).family(), u"Comic Neue"_s);
        fixture.window->resize(1600, 1000);
        QTRY_COMPARE(fixture.window->width(), 1600);
        QCOMPARE(badlyShownControls(fixture.window.get()), QStringList());
        for (const auto &[action, window] : {std::pair{u"Option1"_s, u"Options"_s},
                                             {u"sites"_s, u"Sites"_s},
                                             {u"groups"_s, u"Groups"_s},
                                             {u"about"_s, u"frmAbout"_s},
                                             {u"blocking"_s, u"Blocking"_s}}) {
            fixture.find<QAction>(action)->trigger();
            QWidget *shown = WindowFixture::topLevel(window, WindowFixture::Shown::Only);
            QVERIFY2(shown, qPrintable(window));
            QVERIFY(QTest::qWaitForWindowExposed(shown));
            QCOMPARE(badlyShownControls(shown), QStringList());
            shown->close();
        }
    }

    // Everything the window holds is shown, usable and unticked when it is made, save what these
    // lines say: one a control or menu entry.
    void everyControl_startsAsDesigned()
    {
        WindowFixture fixture;
        fixture.showActive();
        QStringList states;
        const auto add = [&states](const QObject *control, bool hidden, bool off, bool ticked) {
            const QString name = control->objectName();
            QStringList state;
            for (const auto &[is, word] :
                 {std::pair{hidden, u"hidden"}, {off, u"off"}, {ticked, u"ticked"}})
                if (is)
                    state << QString::fromUtf16(word);
            // Qt's own parts (a scroll area's, the strip's scroll arrows) follow what they show.
            const bool qtsOwn =
                name.startsWith(u"qt_") || qobject_cast<QTabBar *>(control->parent());
            if (!name.isEmpty() && !qtsOwn && !state.isEmpty())
                states << name + u": "_s + state.join(u' ');
        };
        for (const QWidget *control : fixture.window->findChildren<QWidget *>()) {
            const auto *button = qobject_cast<const QAbstractButton *>(control);
            if (!qobject_cast<const QMenu *>(control))
                add(control, control->isHidden(), !control->isEnabled(),
                    button && button->isChecked());
        }
        for (const QAction *action : fixture.window->findChildren<QAction *>())
            add(action, !action->isVisible(), !action->isEnabled(), action->isChecked());
        QStringList designed{u"Results: hidden"_s, u"resultsAll: ticked"_s};
        for (int site = 0; site < 9; ++site)
            designed << u"resultsSite(%1): hidden"_s.arg(site);
        for (int view = 8; view > 0; --view) // on the tabs switched off
            designed << u"WebBrowser1(%1): off"_s.arg(view);
        designed << u"findBar: hidden"_s;
        QCOMPARE(states, designed);
    }

    // Whatever part of the window has a word for the user, the status bar shows it.
    void everyPartsStatusMessage_reachesTheStatusBar()
    {
        WindowFixture fixture;
        QStringList parts;
        for (QObject *part : fixture.window->findChildren<QObject *>()) {
            const QMetaObject *type = part->metaObject();
            const int signal = type->indexOfSignal("statusMessage(QString)");
            if (signal < 0)
                continue;
            const QString word = u"A word from "_s + QString::fromLatin1(type->className());
            QVERIFY(type->method(signal).invoke(part, Qt::DirectConnection, Q_ARG(QString, word)));
            QVERIFY2(fixture.status().contains(word), qPrintable(word));
            parts << QString::fromLatin1(type->className());
        }
        QCOMPARE(parts, (QStringList{u"SiteLineup"_s, u"OptionsKeeper"_s, u"Blocker"_s,
                                     u"BlockingControls"_s, u"SearchHistory"_s, u"NotesTab"_s,
                                     u"FavoritesTab"_s, u"GroupChoice"_s, u"ResultsTeacher"_s,
                                     u"PageTools"_s, u"ZoomLevels"_s, u"SessionKeeper"_s}));
    }

    void cancelAndCloseBox_discardAndUnload_saveWritesAndHides()
    {
        QList<int> stored{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2};
        WindowFixture fixture({{u"svng.msf"_s, settingsBytes(stored)}});
        QPointer<OptionsDialog> dialog = openOptions(fixture);
        QCOMPARE(states(dialog), stored);
        click(dialog, 0);
        click(dialog, 12);
        WindowFixture::click(dialog, u"Command2"_s);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialog);
        dialog = openOptions(fixture);
        QCOMPARE(states(dialog), stored);
        click(dialog, 3);
        QVERIFY(dialog->close());
        // A search right after reads the boxes anew from the file.
        QCOMPARE(fixture.window->options().state(3), 0);
        QVERIFY(!fixture.window->options().isVisible());

        dialog = openOptions(fixture);
        click(dialog, 9);
        click(dialog, 12);
        WindowFixture::click(dialog, u"Command1"_s);
        stored[9] = stored[12] = 1;
        QVERIFY(!dialog->isVisible());
        QCOMPARE(&fixture.window->options(), dialog); // loaded, hidden: still the live choices
        QCOMPARE(states(dialog), stored);
        QCOMPARE(fixture.fileBytes(u"svng.msf"_s), settingsBytes(stored));
    }

    void reopening_putsBackWhatTheFileNames_greyedBoxesToggleOnClick()
    {
        // Ten lines: boxes 0 to 9 as the file says (0 greyed), the others keep the user's state.
        WindowFixture fixture({{u"svng.msf"_s, settingsBytes({2, 1, 1, 1, 1, 1, 1, 1, 1, 1})}});
        OptionsDialog *dialog = openOptions(fixture);
        QCOMPARE(box(dialog, 0)->checkState(), Qt::PartiallyChecked);
        QList<int> afterEachClick;
        for (int click = 0; click < 3; ++click) {
            ::click(dialog, 0);
            afterEachClick.append(box(dialog, 0)->state());
        }
        QTest::keyClick(box(dialog, 0), Qt::Key_Space);
        afterEachClick.append(box(dialog, 0)->state());
        QCOMPARE(afterEachClick, (QList<int>{1, 0, 1, 0}));

        click(dialog, 2);
        click(dialog, 15);
        QCOMPARE(openOptions(fixture), dialog);
        QCOMPARE(box(dialog, 0)->state(), 2);
        QCOMPARE(box(dialog, 2)->state(), 1);
        QCOMPARE(box(dialog, 15)->state(), 1);
    }

    void options_showEveryNameWhole_inTheSameRows_andALabelTicksItsBox()
    {
        WindowFixture fixture(
            {{u"sites.ini"_s, "[site4]\nname=Internet Archive Moving Images\n"
                              "start=https://archive.org/\nsearch=https://archive.org/s?q=%s\n"}});
        OptionsDialog *dialog = openOptions(fixture);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        auto *pages = dialog->findChild<QTabWidget *>(u"SSTab1"_s);
        for (int index = 0; index < 18; ++index) {
            pages->setCurrentIndex(index / 9);
            auto *label = dialog->findChild<QLabel *>(indexedName(u"Label1", index));
            const QRect inDialog(label->mapTo(dialog, QPoint()), label->size());
            QVERIFY2(label->width() >= label->sizeHint().width() &&
                         dialog->rect().contains(inDialog),
                     qPrintable(label->text()));
            // Both pages' rows stand at the same height.
            QCOMPARE(label->y(),
                     dialog->findChild<QLabel *>(indexedName(u"Label1", index % 9))->y());
        }
        const int before = box(dialog, 12)->state();
        QTest::mouseClick(dialog->findChild<QLabel *>(indexedName(u"Label1", 12)), Qt::LeftButton);
        QCOMPARE(box(dialog, 12)->state(), 1 - before);
    }

    void printIt_continuesOneDocumentBelowTheTextBefore()
    {
        WindowFixture fixture;
        auto *notes = fixture.find<QPlainTextEdit>(u"Text2"_s);
        notes->setPlainText(u"alpha\nbeta\ngamma"_s);
        // Without a printer: said, and the notes kept; on a machine with none, the program's own
        // way of finding one is what says so.
        if (QPrinterInfo::defaultPrinter().isNull())
            fixture.makePrinter = defaultNotesPrinter;
        fixture.click(u"Command4"_s);
        QVERIFY2(fixture.status().contains(u"printer"_s), qPrintable(fixture.status()));
        QCOMPARE(notes->toPlainText(), u"alpha\nbeta\ngamma"_s);
        const QString pdf = fixture.filePath(u"notes.pdf"_s);
        fixture.makePrinter = pdfPrinter(pdf);
        fixture.click(u"Command4"_s);
        fixture.click(u"Command4"_s);
        notes->clear();
        fixture.click(u"Command4"_s); // one empty line
        // Long notes: lines run onto a new page, a line wider than the page wraps.
        QStringList lines;
        for (int line = 1; line <= 100; ++line)
            lines.append(u"line%1"_s.arg(line));
        const QString address = u"https://example.com/"_s + QString(300, u'x');
        notes->setPlainText(u"omega\n"_s + lines.join(u'\n') + u'\n' +
                            QStringList(60, u"wrap"_s).join(u' ') + u'\n' + address);
        fixture.click(u"Command4"_s);
        QCOMPARE(notes->toPlainText().left(5), u"omega"_s);
        fixture.window.reset();

        const QStringList printed = printedLines(pdf);
        QVERIFY2(printed.size() > 9, "pdftotext printed nothing useful");
        QCOMPARE(printed.first(9),
                 (QStringList{u"alpha"_s, u"beta"_s, u"gamma"_s, u"alpha"_s, u"beta"_s, u"gamma"_s,
                              QString(), u"omega"_s, u"line1"_s}));
        const qsizetype nextPage = printed.indexOf(u"(new page)"_s);
        QVERIFY(nextPage > 9 && nextPage < printed.indexOf(u"line100"_s));
        QVERIFY(printed.filter(u"wrap"_s).size() > 1); // wrapped, not cut off
        // A word wider than the page is broken, and none of it is lost.
        QVERIFY(printed.filter(u"xxx"_s).size() > 1);
        QVERIFY(printed.join(QString()).contains(address));
    }

    void closing_endsTheProgramAndSendsThePrintedNotes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close box, options hidden") << u"close box"_s;
        QTest::newRow("close box, options and About shown") << u"close box, all open"_s;
    }

    void closing_endsTheProgramAndSendsThePrintedNotes()
    {
        QFETCH(QString, how);
        WindowFixture fixture;
        const QString pdf = fixture.filePath(u"notes.pdf"_s);
        fixture.makePrinter = pdfPrinter(pdf);
        fixture.window->show();
        fixture.find<QPlainTextEdit>(u"Text2"_s)->setPlainText(u"kept"_s);
        fixture.click(u"Command4"_s);
        if (how.endsWith(u"all open")) {
            fixture.find<QAction>(u"Option1"_s)->trigger();
            fixture.find<QAction>(u"about"_s)->trigger();
        }
        QTimer::singleShot(0, fixture.window.get(), [&] { fixture.closeAsTheWindowSystemDoes(); });
        // A program that does not end fails the test, not the suite: after a minute, ended here.
        QTimer::singleShot(60000, qApp, [] { QCoreApplication::exit(99); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(printedLines(pdf).value(0), u"kept"_s); // window kept

        // The close box closes every window, even the options window that was never shown,
        // which so unloads.
        for (const QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(WindowFixture::topLevel(u"Options"), nullptr);

        // A view that goes while its page prints waits for the printout, the page still asking
        // the blocker: every view goes before it.
        QStringList blockerAtViewsEnd;
        for (int index = 0; index < SiteCatalogue::ViewCount; ++index)
            fixture.view(index)->onDestroyed = [&, window = fixture.window.get()] {
                blockerAtViewsEnd.append(window->findChild<Blocker *>() ? u"there"_s : u"gone"_s);
            };
        fixture.window.reset();
        QCOMPARE(blockerAtViewsEnd, QStringList(SiteCatalogue::ViewCount, u"there"_s));
    }

    void runningCopy_isOnePerDataFolder_whereOnlyTheUserReaches()
    {
        QTemporaryDir runtime, data, otherData;
        const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        QVERIFY(QFile::setPermissions(runtime.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        RunningCopy first(data.path());
        QVERIFY(first.isFirst());
        QWidget window;
        QVERIFY(first.listen(&window));
        // Its lock and its socket, in the user's runtime folder.
        QCOMPARE(QDir(runtime.path()).entryList(QDir::Files | QDir::System).size(), 2);
        RunningCopy second(data.path());
        QVERIFY(!second.isFirst());
        QVERIFY(second.handOver());
        QTRY_VERIFY(window.isVisible());
        RunningCopy ofAnotherFolder(otherData.path());
        QVERIFY(ofAnotherFolder.isFirst());

        // A runtime folder other users may enter is not used; the data folder is.
        QVERIFY(QFile::setPermissions(runtime.path(), QFile::Permissions(0x7755)));
        QVERIFY(RunningCopy::placeFor(data.path()).startsWith(data.path() + u'/'));
        // Nowhere to listen, as in a folder too deep for a socket: said, and the copy runs on.
        qunsetenv("XDG_RUNTIME_DIR");
        const QString deep = data.filePath(QString(120, u'd'));
        QVERIFY(QDir().mkpath(deep));
        RunningCopy deeper(deep);
        QVERIFY(deeper.isFirst());
        QVERIFY(!deeper.listen(&window));
        qputenv("XDG_RUNTIME_DIR", runtimeBefore);
    }

    void about_showsOneFixedBoxThatEveryWayOfClosingDiscards()
    {
        WindowFixture fixture;
        QAction *about = fixture.find<QAction>(u"about"_s);
        for (const bool byEnter : {true, false}) {
            about->trigger();
            about->trigger();
            auto *box = qobject_cast<QDialog *>(
                WindowFixture::topLevel(u"frmAbout", WindowFixture::Shown::Only));
            QPointer<QDialog> shown = box;
            QVERIFY(!box->isModal() && !box->parentWidget());
            QCOMPARE(QApplication::topLevelWidgets().count(box), 1);
            if (byEnter) { // Enter presses OK, wherever the focus is in the box
                box->findChild<QWidget *>(u"picIcon"_s)->setFocus();
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                box->close();
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(shown.isNull());
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
