#ifndef REELHOP_NOTES_NOTES_TAB_H
#define REELHOP_NOTES_NOTES_TAB_H

#include "notes_document.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TabPlacement;

// The notes page: a scratch pad that lives as long as the program and can be printed. Every
// "Print It" of a run continues one document, which goes to the printer when the program ends.
class NotesTab final : public QWidget
{
    Q_OBJECT

public:
    NotesTab(NotesPrinterFactory makePrinter, TabPlacement &placement, QWidget *parent = nullptr);
    ~NotesTab() override;
    Q_DISABLE_COPY_MOVE(NotesTab)

    // Sends what was printed to the printer; the program calls it as it ends.
    void finishPrinting();

signals:
    void statusMessage(const QString &text);

private:
    void print();

    NotesPrinterFactory m_makePrinter;
    std::unique_ptr<NotesDocument> m_document;
    QLabel *m_heading = nullptr;
    QPlainTextEdit *m_notes = nullptr;
    QPushButton *m_printButton = nullptr;
};

#endif
