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
    Label1 = new QLabel(tr("MY NOTES"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(designFont(QStringLiteral("MS Sans Serif"), 18));
    placement.add(Label1, Twips::rect(4560, 600, 2055, 495));

    Text2 = new QPlainTextEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setFont(designFont(QStringLiteral("Comic Sans MS"), 15.75));
    Text2->setAccessibleName(tr("Notes"));
    Label1->setBuddy(Text2);
    placement.add(Text2, Twips::rect(360, 1080, 10335, 6375));

    Command4 = createTextButton(this, QStringLiteral("Command4"), tr("Print It"));
    Command4->setFont(designFont(QStringLiteral("MS Sans Serif"), 13.5));
    placement.add(Command4, Twips::rect(5160, 7800, 1695, 375));
    connect(Command4, &QPushButton::clicked, this, &NotesTab::Command4_Click);

    // "&Close" leaves the event loop without closing any window: what was printed still goes out.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &NotesTab::finishPrinting);
}

NotesTab::~NotesTab() = default;

void NotesTab::finishPrinting()
{
    if (m_document)
        m_document->finish();
}

void NotesTab::Command4_Click()
{
    if (!m_document) {
        std::unique_ptr<QPrinter> printer = m_makePrinter();
        if (!printer) {
            emit statusMessage(tr("No printer is installed: the notes were not printed."));
            return;
        }
        m_document = std::make_unique<NotesDocument>(std::move(printer));
    }
    if (!m_document->print(Text2->toPlainText()))
        emit statusMessage(
            tr("The notes could not be printed on %1.").arg(m_document->printerName()));
}
