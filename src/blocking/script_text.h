#ifndef REELHOP_BLOCKING_SCRIPT_TEXT_H
#define REELHOP_BLOCKING_SCRIPT_TEXT_H

#include <QByteArrayView>

// JavaScript source read as text: where a bracket closes, past strings, template literals,
// comments and regular expressions.
namespace ScriptText {

// Where the bracket ('{', '(' or '[') at `open` closes, or -1 where it never does.
qsizetype closing(QByteArrayView source, qsizetype open);

// Where the first of the characters stands at bracket depth 0 from `from` on, outside strings,
// comments and regular expressions; -1 where it does not.
qsizetype findOutside(QByteArrayView source, qsizetype from, QByteArrayView characters);

} // namespace ScriptText

#endif
