#include "app/control_names.h"
#include "settings/options_dialog.h"
#include "settings/settings_file.h"
#include "settings/setting_check_box.h"
#include "support/unprivileged_scope.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>


namespace {

QByteArray settingsBytes(const QList<int> &states)
{
    QByteArray bytes;
    for (const int state : states)
        bytes += ' ' + QByteArray::number(state) + " \r\n";
    return bytes;
}

SettingCheckBox *box(QWidget *dialog, int index)
{
    auto *check = dialog->findChild<SettingCheckBox *>(indexedName(u"Check1", index));
    if (!check)
        qFatal("no box %d", index);
    return check;
}

QList<int> boxStates(QWidget *dialog)
{
    QList<int> states;
    for (int index = 0; index < SettingsFile::BoxCount; ++index)
        states.append(box(dialog, index)->state());
    return states;
}

void clickBox(QWidget *dialog, int index)
{
    SettingCheckBox *check = box(dialog, index);
    QTabWidget *pages = dialog->findChild<QTabWidget *>(u"SSTab1"_qs);
    pages->setCurrentIndex(index < 9 ? 0 : 1);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(check->width() / 2, check->height() / 2));
}

void pressButton(QWidget *dialog, const QString &caption)
{
    for (auto *button : dialog->findChildren<QPushButton *>()) {
        if (button->text() == caption) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    qFatal("no button %s", qPrintable(caption));
}

void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { flushDeletions(); }
    void menuOpensTheDialogWithItsRowsAndCaptions();
    void noSettingsFile_allBoxesUnchecked();
    void cancel_discardsChangesAndUnloads();
    void closeBox_discardsChangesLikeCancel();
    void save_hidesAndWritesTheBoxes();
    void reopeningWhileOpen_putsBackTheStoredChoices();
    void greyedBox_staysGreyedUntilClicked_thenIsChecked();
    void save_intoReadOnlyFolder_keepsOldFileHidesAndSaysSo();
};

void TestOptionsDialog::menuOpensTheDialogWithItsRowsAndCaptions()
{
    WindowFixture fixture;
    QVERIFY(!WindowFixture::optionsWindow());
    fixture.find<QAction>(u"Option1"_qs)->trigger();

    QWidget *dialog = WindowFixture::optionsWindow();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->isWindow());
    QCOMPARE(dialog->parentWidget(), nullptr);
    QCOMPARE(dialog->windowTitle(), u"OPTIONS"_qs);
    auto *pages = dialog->findChild<QTabWidget *>(u"SSTab1"_qs);
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->tabText(0), u"Start-Up"_qs);
    QCOMPARE(pages->tabText(1), u"Search"_qs);
    QCOMPARE(pages->currentIndex(), 0);

    const QStringList labels{u"YouTube"_qs,    u"GOOGLE"_qs,       u"YAHOO"_qs,
                             u"AOL"_qs,        u"MY SPACE"_qs,     u"META CAFE"_qs,
                             u"Daily Motion"_qs, u"BREAK.COM"_qs,  u"REVVER"_qs};
    for (int index = 0; index < SettingsFile::BoxCount; ++index) {
        auto *label = dialog->findChild<QLabel *>(indexedName(u"Label1", index));
        QCOMPARE(label->text(), labels[index % 9]);
        QCOMPARE(label->font().family(), u"MS Sans Serif"_qs);
        SettingCheckBox *check = box(dialog, index);
        QCOMPARE(check->text(), QString());
        QCOMPARE(check->parentWidget(), pages->widget(index / 9));
        // Each row: the box, then its label to the right on the same line.
        QCOMPARE(check->y(), label->y());
        QVERIFY(check->geometry().right() < label->x());
        if (index % 9)
            QCOMPARE(check->y() - box(dialog, index - 1)->y(), 32);
    }
    // The main window stays usable: the dialog is modeless.
    QVERIFY(!dialog->isModal());
}

void TestOptionsDialog::noSettingsFile_allBoxesUnchecked()
{
    WindowFixture fixture;
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QCOMPARE(boxStates(WindowFixture::optionsWindow()), QList<int>(18, 0));
}

void TestOptionsDialog::cancel_discardsChangesAndUnloads()
{
    const QByteArray stored = settingsBytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2});
    WindowFixture fixture(&stored);
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QWidget *dialog = WindowFixture::optionsWindow();
    const QList<int> storedStates = boxStates(dialog);
    QCOMPARE(storedStates, SettingsFile::fromBytes(stored));

    clickBox(dialog, 0);
    clickBox(dialog, 5);
    clickBox(dialog, 12);
    QCOMPARE(box(dialog, 0)->state(), 0);
    QCOMPARE(box(dialog, 5)->state(), 1);
    QCOMPARE(box(dialog, 12)->state(), 1);

    QPointer<QWidget> cancelled = dialog;
    pressButton(dialog, u"CANCEL"_qs);
    flushDeletions();
    QVERIFY(cancelled.isNull());
    QVERIFY(!WindowFixture::optionsWindow());

    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QCOMPARE(boxStates(WindowFixture::optionsWindow()), storedStates);
    QCOMPARE(QFile(fixture.settingsPath()).size(), stored.size());
}

void TestOptionsDialog::closeBox_discardsChangesLikeCancel()
{
    WindowFixture fixture;
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    clickBox(WindowFixture::optionsWindow(), 3);
    QVERIFY(WindowFixture::optionsWindow()->close());
    flushDeletions();
    QVERIFY(!WindowFixture::optionsWindow());

    // A search reads the boxes anew from the file, not the discarded change.
    QCOMPARE(fixture.window->options().state(3), 0);
    QVERIFY(!WindowFixture::optionsWindow()->isVisible());
}

void TestOptionsDialog::save_hidesAndWritesTheBoxes()
{
    WindowFixture fixture;
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QWidget *dialog = WindowFixture::optionsWindow();
    clickBox(dialog, 9);
    clickBox(dialog, 12);
    pressButton(dialog, u"SAVE"_qs);

    QVERIFY(!dialog->isVisible());
    QCOMPARE(WindowFixture::optionsWindow(), dialog); // loaded, hidden
    QFile file(fixture.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray expected;
    for (int line = 0; line < 18; ++line)
        expected += (line == 9 || line == 12) ? " 1 \r\n" : " 0 \r\n";
    QCOMPARE(file.readAll(), expected);

    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QVERIFY(dialog->isVisible());
    QCOMPARE(box(dialog, 9)->state(), 1);
    QCOMPARE(box(dialog, 12)->state(), 1);
}

void TestOptionsDialog::reopeningWhileOpen_putsBackTheStoredChoices()
{
    const QByteArray stored = settingsBytes(QList<int>(18, 1));
    WindowFixture fixture(&stored);
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QWidget *dialog = WindowFixture::optionsWindow();
    clickBox(dialog, 2);
    clickBox(dialog, 15);
    QCOMPARE(box(dialog, 2)->state(), 0);

    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QCOMPARE(WindowFixture::optionsWindow(), dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(boxStates(dialog), QList<int>(18, 1));
}

void TestOptionsDialog::greyedBox_staysGreyedUntilClicked_thenIsChecked()
{
    const QByteArray stored = settingsBytes({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    WindowFixture fixture(&stored);
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QWidget *dialog = WindowFixture::optionsWindow();
    QCOMPARE(box(dialog, 0)->checkState(), Qt::PartiallyChecked);

    clickBox(dialog, 1); // another box changes nothing here
    QCOMPARE(box(dialog, 0)->state(), 2);
    clickBox(dialog, 0);
    QCOMPARE(box(dialog, 0)->state(), 1);
    clickBox(dialog, 0);
    QCOMPARE(box(dialog, 0)->state(), 0);
    clickBox(dialog, 0);
    QCOMPARE(box(dialog, 0)->state(), 1); // never greyed again by a click
    // Nor from the keyboard.
    QTest::keyClick(box(dialog, 0), Qt::Key_Space);
    QTest::keyClick(box(dialog, 0), Qt::Key_Space);
    QCOMPARE(box(dialog, 0)->state(), 1);
}

void TestOptionsDialog::save_intoReadOnlyFolder_keepsOldFileHidesAndSaysSo()
{
    const QByteArray stored = settingsBytes(QList<int>(18, 0));
    WindowFixture fixture(&stored);
    fixture.find<QAction>(u"Option1"_qs)->trigger();
    QWidget *dialog = WindowFixture::optionsWindow();
    clickBox(dialog, 4);

    QVERIFY(makeReadOnly(fixture.folder.path()));
    {
        const UnprivilegedScope asOrdinaryUser;
        pressButton(dialog, u"SAVE"_qs);
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
