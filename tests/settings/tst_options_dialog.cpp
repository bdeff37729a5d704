#include "form/control_names.h"
#include "settings/options_dialog.h"
#include "settings/setting_check_box.h"
#include "support/unprivileged_scope.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace {

QByteArray settingsBytes(const QList<int> &states)
{
    QByteArray bytes;
    for (const int state : states)
        bytes += ' ' + QByteArray::number(state) + " \r\n";
    return bytes;
}

QWidget *openOptions(const WindowFixture &fixture)
{
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    return WindowFixture::optionsWindow();
}

SettingCheckBox *box(QWidget *dialog, int index)
{
    return dialog->findChild<SettingCheckBox *>(indexedName(u"Check1", index));
}

QList<int> boxStates(QWidget *dialog)
{
    QList<int> states;
    for (int index = 0; index < 18; ++index)
        states.append(box(dialog, index)->state());
    return states;
}

void clickBox(QWidget *dialog, int index)
{
    dialog->findChild<QTabWidget *>(u"SSTab1"_qs)->setCurrentIndex(index < 9 ? 0 : 1);
    QTest::mouseClick(box(dialog, index), Qt::LeftButton, {}, box(dialog, index)->rect().center());
}

void press(QWidget *dialog, const char *name)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
}

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void menuOpensItModelessWithNineRowsOnEachTab_uncheckedWithoutAFile();
    void cancelAndCloseBox_discardChangesAndUnload();
    void save_writesTheBoxesAndHides_reopeningShowsThem();
    void reopeningWhileOpen_putsBackTheStoredChoices();
    void greyedBox_staysGreyedUntilClicked_thenToggles();
    void save_intoReadOnlyFolder_keepsTheOldFileHidesAndSaysSo();
};

void TestOptionsDialog::menuOpensItModelessWithNineRowsOnEachTab_uncheckedWithoutAFile()
{
    WindowFixture fixture;
    QVERIFY(!WindowFixture::optionsWindow());
    QWidget *dialog = openOptions(fixture);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->parentWidget(), nullptr);
    QCOMPARE(dialog->windowTitle(), u"OPTIONS"_qs);
    auto *pages = dialog->findChild<QTabWidget *>(u"SSTab1"_qs);
    QCOMPARE(pages->tabText(0), u"Start-Up"_qs);
    QCOMPARE(pages->tabText(1), u"Search"_qs);
    QCOMPARE(pages->currentIndex(), 0);

    const QStringList labels{u"YouTube"_qs,      u"GOOGLE"_qs,    u"YAHOO"_qs,
                             u"AOL"_qs,          u"MY SPACE"_qs,  u"META CAFE"_qs,
                             u"Daily Motion"_qs, u"BREAK.COM"_qs, u"REVVER"_qs};
    for (int index = 0; index < 18; ++index) {
        auto *label = dialog->findChild<QLabel *>(indexedName(u"Label1", index));
        QCOMPARE(label->text(), labels[index % 9]);
        QCOMPARE(box(dialog, index)->parentWidget(), pages->widget(index / 9));
        QCOMPARE(box(dialog, index)->text(), QString());
        // The box, then its label on the same line; rows 480 twips apart.
        QCOMPARE(box(dialog, index)->y(), label->y());
        QVERIFY(box(dialog, index)->geometry().right() < label->x());
        QCOMPARE(box(dialog, index)->mapTo(pages, QPoint()),
                 QPoint(32, (index < 9 ? 52 : 28) + 32 * (index % 9)));
    }
    QCOMPARE(boxStates(dialog), QList<int>(18, 0));
}

void TestOptionsDialog::cancelAndCloseBox_discardChangesAndUnload()
{
    const QList<int> stored{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2};
    const QByteArray bytes = settingsBytes(stored);
    WindowFixture fixture(&bytes);

    QWidget *dialog = openOptions(fixture);
    QCOMPARE(boxStates(dialog), stored);
    clickBox(dialog, 0);
    clickBox(dialog, 12);
    QCOMPARE(box(dialog, 12)->state(), 1);
    QPointer<QWidget> cancelled = dialog;
    press(dialog, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(cancelled.isNull());
    QCOMPARE(openOptions(fixture)->isVisible(), true);
    QCOMPARE(boxStates(WindowFixture::optionsWindow()), stored);

    clickBox(WindowFixture::optionsWindow(), 3);
    QVERIFY(WindowFixture::optionsWindow()->close());
    // A search right after reads the boxes anew from the file.
    QCOMPARE(fixture.window->options().state(3), 0);
    QCOMPARE(fixture.window->options().isVisible(), false);
}

void TestOptionsDialog::save_writesTheBoxesAndHides_reopeningShowsThem()
{
    WindowFixture fixture;
    QWidget *dialog = openOptions(fixture);
    clickBox(dialog, 9);
    clickBox(dialog, 12);
    press(dialog, "Command1");
    QVERIFY(!dialog->isVisible());
    QCOMPARE(WindowFixture::optionsWindow(), dialog); // loaded, hidden

    QFile file(fixture.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (int line = 0; line < 18; ++line)
        expected += (line == 9 || line == 12) ? " 1 \r\n" : " 0 \r\n";
    QCOMPARE(file.readAll(), expected);
    QCOMPARE(boxStates(openOptions(fixture)), SettingsFile::fromBytes(expected));
}

void TestOptionsDialog::reopeningWhileOpen_putsBackTheStoredChoices()
{
    const QByteArray stored = settingsBytes(QList<int>(18, 1));
    WindowFixture fixture(&stored);
    QWidget *dialog = openOptions(fixture);
    clickBox(dialog, 2);
    clickBox(dialog, 15);
    QCOMPARE(box(dialog, 2)->state(), 0);
    QCOMPARE(openOptions(fixture), dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(boxStates(dialog), QList<int>(18, 1));
}

void TestOptionsDialog::greyedBox_staysGreyedUntilClicked_thenToggles()
{
    QList<int> states(18, 0);
    states[0] = 2;
    const QByteArray stored = settingsBytes(states);
    WindowFixture fixture(&stored);
    QWidget *dialog = openOptions(fixture);
    QCOMPARE(box(dialog, 0)->checkState(), Qt::PartiallyChecked);
    clickBox(dialog, 1);
    QCOMPARE(box(dialog, 0)->state(), 2);

    QList<int> afterEachClick;
    for (int click = 0; click < 3; ++click) {
        clickBox(dialog, 0);
        afterEachClick.append(box(dialog, 0)->state());
    }
    QTest::keyClick(box(dialog, 0), Qt::Key_Space);
    afterEachClick.append(box(dialog, 0)->state());
    QCOMPARE(afterEachClick, (QList<int>{1, 0, 1, 0}));
}

void TestOptionsDialog::save_intoReadOnlyFolder_keepsTheOldFileHidesAndSaysSo()
{
    const QByteArray stored = settingsBytes(QList<int>(18, 0));
    WindowFixture fixture(&stored);
    QWidget *dialog = openOptions(fixture);
    clickBox(dialog, 4);

    QVERIFY(makeReadOnly(fixture.folder.path()));
    {
        const UnprivilegedScope asOrdinaryUser;
        press(dialog, "Command1");
    }
    QVERIFY(makeWritable(fixture.folder.path()));

    QVERIFY(!dialog->isVisible());
    QCOMPARE(box(dialog, 4)->state(), 1); // still the live choice for this run
    QFile file(fixture.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), stored);
    const QString status = fixture.find<QLabel>(u"Panel1"_qs)->text();
    QVERIFY2(status.contains(fixture.settingsPath()), qPrintable(status));
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
