#include "form/control_names.h"
#include "settings/options_dialog.h"
#include "settings/setting_check_box.h"
#include "support/unprivileged_scope.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QPushButton>

namespace {

// The options window driven as the user does: opened from the menu, boxes clicked on their tab.
class Options
{
public:
    explicit Options(const WindowFixture &fixture) : m_fixture(fixture) { open(); }
    QWidget *open()
    {
        m_fixture.find<QAction>(u"Option1"_qs)->trigger();
        return m_dialog = &m_fixture.window->options();
    }
    SettingCheckBox *box(int index) const
    {
        return m_dialog->findChild<SettingCheckBox *>(indexedName(u"Check1", index));
    }
    void click(int index) const
    {
        m_dialog->findChild<QTabWidget *>(u"SSTab1"_qs)->setCurrentIndex(index / 9);
        QTest::mouseClick(box(index), Qt::LeftButton, {}, box(index)->rect().center());
    }
    void press(const char *button) const
    {
        QTest::mouseClick(m_dialog->findChild<QPushButton *>(QLatin1String(button)),
                          Qt::LeftButton);
    }
    QList<int> states() const
    {
        QList<int> states;
        for (int index = 0; index < 18; ++index)
            states.append(box(index)->state());
        return states;
    }
    QWidget *dialog() const { return m_dialog; }

private:
    const WindowFixture &m_fixture;
    QPointer<QWidget> m_dialog;
};

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void cancelAndCloseBox_discardChangesAndUnload();
    void save_writesTheBoxesAndHides();
    void reopening_putsBackWhatTheFileNames_data();
    void reopening_putsBackWhatTheFileNames();
    void greyedBox_staysGreyedUntilClicked_thenToggles();
    void save_intoReadOnlyFolder_keepsTheOldFileHidesAndSaysSo();
};

void TestOptionsDialog::cancelAndCloseBox_discardChangesAndUnload()
{
    const QList<int> stored{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2};
    WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(stored)}});
    Options options(fixture);
    QCOMPARE(options.states(), stored);
    options.click(0);
    options.click(12);
    options.press("Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!options.dialog());
    options.open();
    QCOMPARE(options.states(), stored);
    options.click(3);
    QVERIFY(options.dialog()->close());
    // A search right after reads the boxes anew from the file.
    QCOMPARE(fixture.window->options().state(3), 0);
    QVERIFY(!fixture.window->options().isVisible());
}

void TestOptionsDialog::save_writesTheBoxesAndHides()
{
    WindowFixture fixture; // no settings file: every box unchecked
    const Options options(fixture);
    QCOMPARE(options.states(), QList<int>(18, 0));
    options.click(9);
    options.click(12);
    options.press("Command1");
    QVERIFY(!options.dialog()->isVisible());
    QCOMPARE(&fixture.window->options(), options.dialog()); // loaded, hidden
    QList<int> expected(18, 0);
    expected[9] = expected[12] = 1;
    QCOMPARE(fixture.fileBytes(u"svng.msf"_qs), settingsBytes(expected));
}

void TestOptionsDialog::reopening_putsBackWhatTheFileNames_data()
{
    QTest::addColumn<int>("fileLines");
    // Box 15 starts as the file says (1) or, not named, unchecked; a click flips it.
    QTest::newRow("18 lines: the file's state comes back") << 18;
    QTest::newRow("10 lines: the user's state stays") << 10;
}

void TestOptionsDialog::reopening_putsBackWhatTheFileNames()
{
    QFETCH(int, fileLines);
    WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(QList<int>(fileLines, 1))}});
    Options options(fixture);
    options.click(2);
    options.click(15);
    QCOMPARE(options.open(), options.dialog());
    QCOMPARE(options.box(2)->state(), 1);
    QCOMPARE(options.box(15)->state(), 1);
}

void TestOptionsDialog::greyedBox_staysGreyedUntilClicked_thenToggles()
{
    WindowFixture fixture({{u"svng.msf"_qs, settingsBytes({2})}});
    const Options options(fixture);
    QCOMPARE(options.box(0)->checkState(), Qt::PartiallyChecked);
    QList<int> afterEachClick;
    for (int click = 0; click < 3; ++click) {
        options.click(0);
        afterEachClick.append(options.box(0)->state());
    }
    QTest::keyClick(options.box(0), Qt::Key_Space);
    afterEachClick.append(options.box(0)->state());
    QCOMPARE(afterEachClick, (QList<int>{1, 0, 1, 0}));
}

void TestOptionsDialog::save_intoReadOnlyFolder_keepsTheOldFileHidesAndSaysSo()
{
    const QByteArray stored = settingsBytes(QList<int>(18, 0));
    WindowFixture fixture({{u"svng.msf"_qs, stored}});
    const Options options(fixture);
    options.click(4);
    QVERIFY(makeReadOnly(fixture.folder.path(), fixture.filePath(u"svng.msf"_qs)));
    {
        const UnprivilegedScope asOrdinaryUser;
        options.press("Command1");
    }
    QVERIFY(makeWritable(fixture.folder.path()));
    QVERIFY(!options.dialog()->isVisible());
    QCOMPARE(options.box(4)->state(), 1); // still the live choice for this run
    QCOMPARE(fixture.fileBytes(u"svng.msf"_qs), stored);
    QVERIFY2(fixture.status().contains(fixture.filePath(u"svng.msf"_qs)),
             qPrintable(fixture.status()));
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
