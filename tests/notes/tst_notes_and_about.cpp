#include "support/window_fixture.h"

#include <QAction>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QTimer>

namespace {

// The printed document as text, its blank lines kept and each new page after a "(new page)" line;
// no lines when pdftotext is missing or fails.
QStringList printedLines(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(u"pdftotext"_qs, {u"-layout"_qs, pdf, u"-"_qs});
    if (!pdftotext.waitForFinished() || pdftotext.exitStatus() != QProcess::NormalExit ||
        pdftotext.exitCode() != 0)
        return {};
    QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QStringList lines = text.replace(u'\f', u"\n(new page)\n"_qs).split(u'\n');
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

class TestNotesAndAbout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    void printIt_continuesOneDocumentBelowTheTextBefore()
    {
        WindowFixture fixture;
        auto *notes = fixture.find<QPlainTextEdit>(u"Text2"_qs);
        notes->setPlainText(u"alpha\nbeta\ngamma"_qs);
        fixture.click(u"Command4"_qs); // without a printer: said, and the notes kept
        QVERIFY2(fixture.status().contains(u"printer"_qs), qPrintable(fixture.status()));
        QCOMPARE(notes->toPlainText(), u"alpha\nbeta\ngamma"_qs);
        const QString pdf = fixture.filePath(u"notes.pdf"_qs);
        fixture.makePrinter = pdfPrinter(pdf);
        fixture.click(u"Command4"_qs);
        fixture.click(u"Command4"_qs);
        notes->clear();
        fixture.click(u"Command4"_qs); // one empty line
        // Long notes: lines run onto a new page, a line wider than the page wraps.
        QStringList lines;
        for (int line = 1; line <= 100; ++line)
            lines.append(u"line%1"_qs.arg(line));
        const QString address = u"https://example.com/"_qs + QString(300, u'x');
        notes->setPlainText(u"omega\n"_qs + lines.join(u'\n') + u'\n' +
                            QStringList(60, u"wrap"_qs).join(u' ') + u'\n' + address);
        fixture.click(u"Command4"_qs);
        QCOMPARE(notes->toPlainText().left(5), u"omega"_qs);
        fixture.window.reset();

        const QStringList printed = printedLines(pdf);
        QVERIFY2(printed.size() > 9, "pdftotext printed nothing useful");
        QCOMPARE(printed.first(9),
                 (QStringList{u"alpha"_qs, u"beta"_qs, u"gamma"_qs, u"alpha"_qs, u"beta"_qs,
                              u"gamma"_qs, QString(), u"omega"_qs, u"line1"_qs}));
        const qsizetype nextPage = printed.indexOf(u"(new page)"_qs);
        QVERIFY(nextPage > 9 && nextPage < printed.indexOf(u"line100"_qs));
        QVERIFY(printed.filter(u"wrap"_qs).size() > 1); // wrapped, not cut off
        // A word wider than the page is broken, and none of it is lost.
        QVERIFY(printed.filter(u"xxx"_qs).size() > 1);
        QVERIFY(printed.join(QString()).contains(address));
    }

    void closing_endsTheProgramAndSendsThePrintedNotes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close box, options hidden") << u"close box"_qs;
        QTest::newRow("close box, options and About shown") << u"close box, all open"_qs;
        QTest::newRow("&Close") << u"closer"_qs;
    }

    void closing_endsTheProgramAndSendsThePrintedNotes()
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
        QCOMPARE(printedLines(pdf).value(0), u"kept"_qs); // window kept

        // "&Close" runs no closing handler; the close box closes every window, even the options
        // window that was never shown, which so unloads.
        QCOMPARE(fixture.window->isVisible(), how == u"closer");
        if (how == u"closer")
            return;
        for (const QWidget *window : QApplication::topLevelWidgets())
            QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(WindowFixture::topLevel(u"Options"), nullptr);
    }

    void about_showsOneFixedBoxThatEveryWayOfClosingDiscards()
    {
        WindowFixture fixture;
        QAction *about = fixture.find<QAction>(u"about"_qs);
        const QList<std::function<void(QDialog *)>> closers{
            // Enter presses OK, wherever the focus is in the box.
            [](QDialog *box) {
                box->findChild<QWidget *>(u"picIcon"_qs)->setFocus();
                QTest::keyClick(box, Qt::Key_Return);
            },
            [](QDialog *box) { QTest::keyClick(box, Qt::Key_Escape); },
            [](QDialog *box) {
                QTest::mouseClick(box->findChild<QWidget *>(u"cmdOK"_qs), Qt::LeftButton);
            },
            [](QDialog *box) { box->close(); },
        };
        for (const auto &closeIt : closers) {
            about->trigger();
            about->trigger();
            auto *box = qobject_cast<QDialog *>(
                WindowFixture::topLevel(u"frmAbout", WindowFixture::Shown::Only));
            QPointer<QDialog> shown = box;
            QVERIFY(!box->isModal() && !box->parentWidget());
            QCOMPARE(QApplication::topLevelWidgets().count(box), 1);
            closeIt(box);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(shown.isNull());
        }
    }
};

QTEST_MAIN(TestNotesAndAbout)
#include "tst_notes_and_about.moc"
