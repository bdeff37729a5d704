#include "support/window_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace {

QStringList comboItems(QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

} // namespace

class TestAddressNavigation : public QObject
{
    Q_OBJECT

private slots:
    void enterAndButton_loadIntoTheSelectedTabsViewOnly_data();
    void enterAndButton_loadIntoTheSelectedTabsViewOnly();
    void typing_navigatesOnlyOnEnter();
    void typedAddress_isPassedUnchangedEvenWhenEmpty();
};

void TestAddressNavigation::enterAndButton_loadIntoTheSelectedTabsViewOnly_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("expectedView"); // -1: nothing loads

    for (int tab = 0; tab < 12; ++tab) {
        const int view = tab < 9 ? tab : tab == 11 ? 9 : -1;
        QTest::addRow("tab %d", tab) << tab << view;
    }
}

void TestAddressNavigation::enterAndButton_loadIntoTheSelectedTabsViewOnly()
{
    QFETCH(int, tab);
    QFETCH(int, expectedView);

    WindowFixture fixture;
    fixture.tabs()->setCurrentIndex(tab);
    auto *combo = fixture.find<QComboBox>(u"Combo1"_qs);
    combo->addItems({u"http://a.example/"_qs, u"example.org"_qs});
    const QStringList itemsBefore = comboItems(combo);
    combo->setEditText(u"example.org"_qs);

    const QList<Qt::KeyboardModifiers> modifiers{Qt::NoModifier, Qt::ShiftModifier,
                                                 Qt::ControlModifier};
    for (const Qt::KeyboardModifiers modifier : modifiers)
        QTest::keyClick(combo, Qt::Key_Return, modifier);
    QTest::keyClick(combo, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::mouseClick(fixture.find<QToolButton>(u"Command22"_qs), Qt::LeftButton);

    const QString expected = u"WebBrowser1(%1) navigate example.org"_qs.arg(expectedView);
    QCOMPARE(fixture.log, expectedView < 0 ? QStringList() : QStringList(5, expected));
    QCOMPARE(comboItems(combo), itemsBefore);
    QCOMPARE(combo->currentText(), u"example.org"_qs);
    QCOMPARE(fixture.tabs()->currentIndex(), tab);
}

void TestAddressNavigation::typing_navigatesOnlyOnEnter()
{
    WindowFixture fixture;
    fixture.window->show();
    fixture.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fixture.window.get()));
    fixture.tabs()->setCurrentIndex(4);
    auto *combo = fixture.find<QComboBox>(u"Combo1"_qs);
    // Typed as a user does: click into the box, then the keys go wherever the focus is.
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), u"news.example"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(fixture.log, QStringList());
    QCOMPARE(combo->currentText(), u"news.example"_qs);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(fixture.log, QStringList{u"WebBrowser1(4) navigate news.example"_qs});
    QCOMPARE(combo->count(), 0);
}

void TestAddressNavigation::typedAddress_isPassedUnchangedEvenWhenEmpty()
{
    WindowFixture fixture;
    fixture.tabs()->setCurrentIndex(0);
    auto *combo = fixture.find<QComboBox>(u"Combo1"_qs);
    QTest::keyClick(combo, Qt::Key_Return);
    combo->setEditText(u"  Http://Example.COM/a b?x=1&y=ü  "_qs);
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(fixture.log,
             (QStringList{u"WebBrowser1(0) navigate "_qs,
                          u"WebBrowser1(0) navigate   Http://Example.COM/a b?x=1&y=ü  "_qs}));
}

QTEST_MAIN(TestAddressNavigation)
#include "tst_address_navigation.moc"
