#include "form/control_names.h"
#include "settings/options_dialog.h"
#include "settings/setting_check_box.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QPushButton>

namespace {

// The options window, opened from the menu as the user does.
OptionsDialog *openOptions(const WindowFixture &fixture)
{
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    return &fixture.window->options();
}

SettingCheckBox *box(QWidget *dialog, int index)
{
    return dialog->findChild<SettingCheckBox *>(indexedName(u"Check1", index));
}

// Clicks a box on its tab of the window.
void click(QWidget *dialog, int index)
{
    dialog->findChild<QTabWidget *>(u"SSTab1"_qs)->setCurrentIndex(index / 9);
    QTest::mouseClick(box(dialog, index), Qt::LeftButton, {}, box(dialog, index)->rect().center());
}

void press(QWidget *dialog, const char *button)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
}

QList<int> states(const OptionsDialog *dialog)
{
    const SettingsFile::States all = dialog->states();
    return QList<int>(all.begin(), all.end());
}

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void cancelAndCloseBox_discardAndUnload_saveWritesAndHides()
    {
        QList<int> stored{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2};
        WindowFixture fixture({{u"svng.msf"_qs, settingsBytes(stored)}});
        QPointer<OptionsDialog> dialog = openOptions(fixture);
        QCOMPARE(states(dialog), stored);
        click(dialog, 0);
        click(dialog, 12);
        press(dialog, "Command2");
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
        press(dialog, "Command1");
        stored[9] = stored[12] = 1;
        QVERIFY(!dialog->isVisible());
        QCOMPARE(&fixture.window->options(), dialog); // loaded, hidden: still the live choices
        QCOMPARE(states(dialog), stored);
        QCOMPARE(fixture.fileBytes(u"svng.msf"_qs), settingsBytes(stored));
    }

    void reopening_putsBackWhatTheFileNames_greyedBoxesToggleOnClick()
    {
        // Ten lines: boxes 0 to 9 as the file says (0 greyed), the others keep the user's state.
        WindowFixture fixture({{u"svng.msf"_qs, settingsBytes({2, 1, 1, 1, 1, 1, 1, 1, 1, 1})}});
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
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
