#include "notes_tab.h"

#include "form/fonts.h"
#include "form/tab_placement.h"
#include "form/text_button.h"
#include "form/twips.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>

NotesTab::NotesTab(NotesPrinterFactory makePrinter, TabPlacement &placement, QWidget *parent)
    : QWidget(parent), m_makePrinter(std::move(makePrinter))
{
    m_heading = new QLabel(tr("MY NOTES"), this);
    m_heading->setObjectName(QStringLiteral("Label1"));
    m_heading->setFont(designFont(QStringLiteral("MS Sans Serif"), 18));
    placement.add(m_heading, Twips::rect(4560, 600, 2055, 495));

    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QStringLiteral("Text2"));
    m_notes->setFont(designFont(QStringLiteral("Comic Sans MS"), 15.75));
    m_notes->setAccessibleName(tr("Notes"));
    m_heading->setBuddy(m_notes);
    placement.add(m_notes, Twips::rect(360, 1080, 10335, 6375));

    m_printButton = createTextButton(this, QStringLiteral("Command4"), tr("Print It"));
    m_printButton->setFont(designFont(QStringLiteral("MS Sans Serif"), 13.5));
    placement.add(m_printButton, Twips::rect(5160, 7800, 1695, 375));
    connect(m_printButton, &QPushButton::clicked, this, &NotesTab::print);

    // "&Close" leaves the event loop without closing any window: what was printed still goes out.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &NotesTab::finishPrinting);
}

NotesTab::~NotesTab() = default;

void NotesTab::finishPrinting()
{
    if (m_document)
        m_document->finish();
}

void NotesTab::print()
{
    if (!m_document) {
        std::unique_ptr<QPrinter> printer = m_makePrinter();
        if (!printer) {
            emit statusMessage(tr("No printer is installed: the notes were not printed."));
            return;
        }
        m_document = std::make_unique<NotesDocument>(std::move(printer));
    }
    if (!m_document->print(m_notes->toPlainText()))
        emit statusMessage(
            tr("The notes could not be printed on %1.").arg(m_document->printerName()));
}
