#include "support/window_fixture.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

namespace {

// The printed document's words with their page and height on it, in reading order.
struct Word
{
    int page;
    double top;
    QString text;
};

QList<Word> printedWords(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_qs, {u"-bbox"_qs, pdf, u"-"_qs});
    if (!pdftotext.waitForFinished() || pdftotext.exitCode() != 0)
        return {};
    static const QRegularExpression tag(uR"re(<page |<word xMin="[\d.]+" yMin="([\d.]+)"[^>]*>([^<]*)<)re"_qs);
    QList<Word> words;
    int page = -1;
    for (const auto &match : tag.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput()))) {
        if (match.captured(0).startsWith(u"<page"))
            ++page;
        else
            words.append({page, match.captured(1).toDouble(), match.captured(2)});
    }
    return words;
}

QStringList texts(const QList<Word> &words)
{
    QStringList result;
    for (const Word &word : words)
        result.append(word.text);
    return result;
}

NotesPrinterFactory pdfPrinter(const QString &path)
{
    return [path] {
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFileName(path); // a .pdf name prints to PDF
        return printer;
    };
}

QDialog *aboutBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"frmAbout" && widget->isVisible())
            return qobject_cast<QDialog *>(widget);
    }
    return nullptr;
}

} // namespace

class TestNotesAndAbout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void printIt_continuesOneDocumentBelowTheTextBefore();
    void closing_endsTheProgramAndSendsThePrintedNotes_data();
    void closing_endsTheProgramAndSendsThePrintedNotes();
    void printIt_withoutAPrinter_saysSoAndKeepsTheNotes();
    void about_showsOneFixedBoxThatEveryWayOfClosingDiscards();
};

void TestNotesAndAbout::printIt_continuesOneDocumentBelowTheTextBefore()
{
    WindowFixture fixture;
    const QString pdf = fixture.filePath(u"notes.pdf"_qs);
    fixture.makePrinter = pdfPrinter(pdf);
    auto *notes = fixture.find<QPlainTextEdit>(u"Text2"_qs);
    notes->setPlainText(u"alpha\nbeta\ngamma"_qs);
    fixture.click(u"Command4"_qs);
    fixture.click(u"Command4"_qs);
    notes->clear();
    fixture.click(u"Command4"_qs); // one empty line
    // Long notes: lines run onto a new page, a line wider than the page wraps.
    QStringList lines;
    for (int line = 1; line <= 100; ++line)
        lines.append(u"line%1"_qs.arg(line));
    notes->setPlainText(u"omega\n"_qs + lines.join(u'\n') + u'\n' + QStringList(60, u"wrap"_qs).join(u' '));
    fixture.click(u"Command4"_qs);
    QCOMPARE(notes->toPlainText().left(5), u"omega"_qs);
    fixture.window.reset();

    const QList<Word> words = printedWords(pdf);
    QCOMPARE(words.size(), 7 + 100 + 60);
    QCOMPARE(texts(words.first(7)), (QStringList{u"alpha"_qs, u"beta"_qs, u"gamma"_qs,
                                                 u"alpha"_qs, u"beta"_qs, u"gamma"_qs, u"omega"_qs}));
    const double line = words[1].top - words[0].top;
    for (int index = 1; index < 6; ++index)
        QCOMPARE(qRound(words[index].top - words[index - 1].top), qRound(line));
    QCOMPARE(qRound(words[6].top - words[5].top), qRound(2 * line)); // the empty notes' line
    QCOMPARE(words[0].page, 0);
    QVERIFY(words[106].page > 0);
    QVERIFY(words.last().top > words[107].top);
}

void TestNotesAndAbout::closing_endsTheProgramAndSendsThePrintedNotes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close box, options hidden") << u"close box"_qs;
    QTest::newRow("close box, options and About shown") << u"close box, all open"_qs;
    QTest::newRow("&Close") << u"closer"_qs;
}

void TestNotesAndAbout::closing_endsTheProgramAndSendsThePrintedNotes()
{
    QFETCH(QString, how);
    WindowFixture fixture;
    const QString pdf = fixture.filePath(u"notes.pdf"_qs);
    fixture.makePrinter = pdfPrinter(pdf);
    fixture.window->show();
    fixture.find<QPlainTextEdit>(u"Text2"_qs)->setPlainText(u"kept"_qs);
    fixture.click(u"Command4"_qs);
    if (how.endsWith(u"all open")) {
        fixture.find<QAction>(u"Option1"_qs)->trigger();
        fixture.find<QAction>(u"about"_qs)->trigger();
    }
    QTimer::singleShot(0, fixture.window.get(), [&] {
        how == u"closer" ? fixture.find<QAction>(how)->trigger()
                         : fixture.closeAsTheWindowSystemDoes();
    });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(texts(printedWords(pdf)), QStringList{u"kept"_qs}); // the window still exists

    // "&Close" runs no closing handler; the close box closes every window, even the options
    // window that was never shown, which so unloads.
    QCOMPARE(fixture.window->isVisible(), how == u"closer");
    if (how == u"closer")
        return;
    for (const QWidget *window : QApplication::topLevelWidgets())
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(WindowFixture::optionsWindow(), nullptr);
}

void TestNotesAndAbout::printIt_withoutAPrinter_saysSoAndKeepsTheNotes()
{
    WindowFixture fixture;
    fixture.tabs()->setCurrentIndex(10);
    fixture.find<QPlainTextEdit>(u"Text2"_qs)->setPlainText(u"draft"_qs);
    fixture.click(u"Command4"_qs);
    QVERIFY2(fixture.status().contains(u"printer"_qs), qPrintable(fixture.status()));
    QCOMPARE(fixture.find<QPlainTextEdit>(u"Text2"_qs)->toPlainText(), u"draft"_qs);
}

void TestNotesAndAbout::about_showsOneFixedBoxThatEveryWayOfClosingDiscards()
{
    WindowFixture fixture;
    QAction *about = fixture.find<QAction>(u"about"_qs);
    const QList<std::function<void(QDialog *)>> closers{
        [](QDialog *box) { QTest::keyClick(box, Qt::Key_Return); },
        [](QDialog *box) { QTest::keyClick(box, Qt::Key_Escape); },
        [](QDialog *box) { QTest::mouseClick(box->findChild<QWidget *>(u"cmdOK"_qs), Qt::LeftButton); },
        [](QDialog *box) { box->close(); },
    };
    for (const auto &closeIt : closers) {
        about->trigger();
        about->trigger();
        QDialog *box = aboutBox();
        QPointer<QDialog> shown = box;
        QCOMPARE(box->windowTitle(), u"About Reelhop"_qs);
        QVERIFY(!box->isModal() && !box->parentWidget());
        QCOMPARE(box->size(), QSize(382, 257));
        QCOMPARE(box->findChild<QLabel *>(u"lblTitle"_qs)->text(), u"Reelhop"_qs);
        QCOMPARE(box->findChild<QLabel *>(u"lblVersion"_qs)->text(), u"Version 1.20"_qs);
        QCOMPARE(box->findChild<QLabel *>(u"lblDescription"_qs)->text(),
                 u"Search YouTube and other Video Websites."_qs);
        QVERIFY(!box->findChild<QLabel *>(u"picIcon"_qs)->pixmap().isNull());
        QCOMPARE(QApplication::topLevelWidgets().count(box), 1);
        closeIt(box);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(shown.isNull());
    }
}

QTEST_MAIN(TestNotesAndAbout)
#include "tst_notes_and_about.moc"
