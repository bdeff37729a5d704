#include "notes_document.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>

std::unique_ptr<QPrinter> defaultNotesPrinter()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(printer);
}

NotesDocument::NotesDocument(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}

NotesDocument::~NotesDocument()
{
    finish();
}

QString NotesDocument::printerName() const
{
    return m_printer->printerName();
}

bool NotesDocument::print(const QString &text)
{
    if (!m_painter.isActive() && !m_painter.begin(m_printer.get()))
        return false;
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    for (const QString &line : lines.split(u'\n'))
        printLine(line);
    return true;
}

void NotesDocument::printLine(const QString &line)
{
    QTextLayout layout(line, m_painter.font(), m_printer.get());
    // A word wider than the page (a pasted address) breaks anywhere rather than run off it.
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(wrapping);
    layout.beginLayout();
    for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine())
        row.setLineWidth(m_printer->width());
    layout.endLayout();
    for (int index = 0; index < layout.lineCount(); ++index) {
        const QTextLine row = layout.lineAt(index);
        if (m_top > 0 && m_top + row.height() > m_printer->height()) {
            m_printer->newPage();
            m_top = 0;
        }
        row.draw(&m_painter, QPointF(0, m_top - row.y()));
        m_top += row.height();
    }
}

void NotesDocument::finish()
{
    if (m_painter.isActive())
        m_painter.end();
}
