#include "form/control_names.h"
#include "settings/options_dialog.h"
#include "settings/setting_check_box.h"
#include "support/unprivileged_scope.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace {

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
    void menu_opensItModelessWithNineRowsOnEachTab();
    void cancelAndCloseBox_discardChangesAndUnload();
    void save_writesTheBoxesAndHides();
    void reopening_putsBackWhatTheFileNames_data();
    void reopening_putsBackWhatTheFileNames();
    void greyedBox_staysGreyedUntilClicked_thenToggles();
    void save_intoReadOnlyFolder_keepsTheOldFileHidesAndSaysSo();
};

void TestOptionsDialog::menu_opensItModelessWithNineRowsOnEachTab()
{
    WindowFixture fixture;
    QWidget *dialog = openOptions(fixture);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->parentWidget(), nullptr);
    QCOMPARE(dialog->windowTitle(), u"OPTIONS"_qs);
    auto *pages = dialog->findChild<QTabWidget *>(u"SSTab1"_qs);
    QCOMPARE(pages->tabText(0) + pages->tabText(1), u"Start-UpSearch"_qs);
    QCOMPARE(dialog->findChild<QLabel *>(indexedName(u"Label1", 16))->text(), u"BREAK.COM"_qs);
    QCOMPARE(boxStates(dialog), QList<int>(18, 0));
}

void TestOptionsDialog::cancelAndCloseBox_discardChangesAndUnload()
{
    const QList<int> stored{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2};
    WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(stored)}});
    QWidget *dialog = openOptions(fixture);
    QCOMPARE(boxStates(dialog), stored);
    clickBox(dialog, 0);
    clickBox(dialog, 12);
    QPointer<QWidget> cancelled = dialog;
    press(dialog, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(cancelled.isNull());
    QCOMPARE(boxStates(openOptions(fixture)), stored);

    clickBox(WindowFixture::optionsWindow(), 3);
    QVERIFY(WindowFixture::optionsWindow()->close());
    // A search right after reads the boxes anew from the file.
    QCOMPARE(fixture.window->options().state(3), 0);
    QVERIFY(!fixture.window->options().isVisible());
}

void TestOptionsDialog::save_writesTheBoxesAndHides()
{
    WindowFixture fixture;
    QWidget *dialog = openOptions(fixture);
    clickBox(dialog, 9);
    clickBox(dialog, 12);
    press(dialog, "Command1");
    QVERIFY(!dialog->isVisible());
    QCOMPARE(WindowFixture::optionsWindow(), dialog); // loaded, hidden
    QList<int> expected(18, 0);
    expected[9] = expected[12] = 1;
    QCOMPARE(fixture.fileBytes(u"svng.msf"_qs), settingsBytes(expected));
}

void TestOptionsDialog::reopening_putsBackWhatTheFileNames_data()
{
    QTest::addColumn<int>("fileLines");
    QTest::addColumn<int>("box15AfterReopening");
    // Box 15 starts as the file says (1) or, not named, unchecked; a click flips it.
    QTest::newRow("18 lines: the file's state comes back") << 18 << 1;
    QTest::newRow("10 lines: the user's state stays") << 10 << 1;
}

void TestOptionsDialog::reopening_putsBackWhatTheFileNames()
{
    QFETCH(int, fileLines);
    QFETCH(int, box15AfterReopening);
    WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(QList<int>(fileLines, 1))}});
    QWidget *dialog = openOptions(fixture);
    clickBox(dialog, 2);
    clickBox(dialog, 15);
    QCOMPARE(openOptions(fixture), dialog);
    QCOMPARE(box(dialog, 2)->state(), 1);
    QCOMPARE(box(dialog, 15)->state(), box15AfterReopening);
}

void TestOptionsDialog::greyedBox_staysGreyedUntilClicked_thenToggles()
{
    QList<int> states(18, 0);
    states[0] = 2;
    WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(states)}});
    QWidget *dialog = openOptions(fixture);
    QCOMPARE(box(dialog, 0)->checkState(), Qt::PartiallyChecked);
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
    WindowFixture fixture({{u"svng.msf"_qs, stored}});
    QWidget *dialog = openOptions(fixture);
    clickBox(dialog, 4);
    QVERIFY(makeReadOnly(fixture.folder.path(), fixture.filePath(u"svng.msf"_qs)));
    {
        const UnprivilegedScope asOrdinaryUser;
        press(dialog, "Command1");
    }
    QVERIFY(makeWritable(fixture.folder.path()));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(box(dialog, 4)->state(), 1); // still the live choice for this run
    QCOMPARE(fixture.fileBytes(u"svng.msf"_qs), stored);
    QVERIFY2(fixture.status().contains(fixture.filePath(u"svng.msf"_qs)), qPrintable(fixture.status()));
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
