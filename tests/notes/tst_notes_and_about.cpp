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
    void printIt_wrapsLongNotesOntoNewPages();
    void printedNotes_reachThePrinterByEitherWayOfClosing_data();
    void printedNotes_reachThePrinterByEitherWayOfClosing();
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
    notes->setPlainText(u"omega"_qs);
    fixture.click(u"Command4"_qs);
    QCOMPARE(notes->toPlainText(), u"omega"_qs);
    fixture.window.reset();

    const QList<Word> words = printedWords(pdf);
    QCOMPARE(texts(words), (QStringList{u"alpha"_qs, u"beta"_qs, u"gamma"_qs, u"alpha"_qs,
                                        u"beta"_qs, u"gamma"_qs, u"omega"_qs}));
    const double line = words[1].top - words[0].top;
    QVERIFY(line > 0);
    for (int index = 1; index < 6; ++index)
        QCOMPARE(qRound(words[index].top - words[index - 1].top), qRound(line));
    QCOMPARE(qRound(words[6].top - words[5].top), qRound(2 * line));
}

void TestNotesAndAbout::printIt_wrapsLongNotesOntoNewPages()
{
    WindowFixture fixture;
    const QString pdf = fixture.filePath(u"notes.pdf"_qs);
    fixture.makePrinter = pdfPrinter(pdf);
    QStringList lines;
    for (int line = 1; line <= 120; ++line)
        lines.append(u"line%1"_qs.arg(line));
    lines.append(QStringList(60, u"wrapping"_qs).join(u' '));
    fixture.find<QPlainTextEdit>(u"Text2"_qs)->setPlainText(lines.join(u'\n'));
    fixture.click(u"Command4"_qs);
    fixture.window.reset();

    const QList<Word> words = printedWords(pdf);
    QCOMPARE(words.size(), 180);
    QCOMPARE(words[0].page, 0);
    QVERIFY(words[119].page > 0);
    QCOMPARE(words[119].text, u"line120"_qs);
    QVERIFY(words[179].top > words[120].top); // the long line ran onto a second line
}

void TestNotesAndAbout::printedNotes_reachThePrinterByEitherWayOfClosing_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("close box") << true;
    QTest::newRow("&Close") << false;
}

void TestNotesAndAbout::printedNotes_reachThePrinterByEitherWayOfClosing()
{
    QFETCH(bool, closeBox);
    WindowFixture fixture;
    const QString pdf = fixture.filePath(u"notes.pdf"_qs);
    fixture.makePrinter = pdfPrinter(pdf);
    fixture.window->show();
    fixture.find<QPlainTextEdit>(u"Text2"_qs)->setPlainText(u"kept"_qs);
    fixture.click(u"Command4"_qs);
    QTimer::singleShot(0, fixture.window.get(), [&] {
        closeBox ? fixture.closeAsTheWindowSystemDoes()
                 : fixture.find<QAction>(u"closer"_qs)->trigger();
    });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(texts(printedWords(pdf)), QStringList{u"kept"_qs}); // the window still exists
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
