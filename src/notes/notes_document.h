#ifndef REELHOP_NOTES_NOTES_DOCUMENT_H
#define REELHOP_NOTES_NOTES_DOCUMENT_H

#include <QPainter>
#include <QPrinter>
#include <functional>
#include <memory>

// Makes the printer the notes go to; nothing when there is none.
using NotesPrinterFactory = std::function<std::unique_ptr<QPrinter>()>;

// The system's default printer, when one is installed.
std::unique_ptr<QPrinter> defaultNotesPrinter();

// One print document that grows with every print: each text goes below the one before, long
// lines wrap at the page width (a word wider than the page anywhere) and run onto new pages. The
// document goes to the printer when it is finished.
class NotesDocument final
{
public:
    explicit NotesDocument(std::unique_ptr<QPrinter> printer);
    ~NotesDocument();
    Q_DISABLE_COPY_MOVE(NotesDocument)

    // The text, then a line end. False when the printer cannot take it.
    bool print(const QString &text);
    void finish();

    QString printerName() const;

private:
    void printLine(const QString &line);

    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    qreal m_top = 0;
};

#endif
