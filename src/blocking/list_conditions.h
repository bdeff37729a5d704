#ifndef REELHOP_BLOCKING_LIST_CONDITIONS_H
#define REELHOP_BLOCKING_LIST_CONDITIONS_H

#include <QByteArrayView>
#include <QVarLengthArray>

namespace Blocking {

// The lists' own conditions: "!#if EXPRESSION" ... "!#else" ... "!#endif" keep or leave out the
// lines between them by what the blocker reading them is, as the lists' own blocker decides on
// Chromium. This one is Chromium and filters by style sheets; it is not Firefox, Safari, a phone,
// the lists' Manifest V3 variant, nor able to filter a page's HTML or to ask a host's address. A
// name it does not know is false, an expression it cannot read too. Expressions join names with
// "!", "&&", "||" and parentheses.
class ListConditions
{
public:
    // Whether the line, the next of its list, is in force; a condition's own line never is.
    bool admits(QByteArrayView line);

private:
    // For each "!#if" still open, whether the branch the lines are in holds.
    QVarLengthArray<bool, 8> m_open;
    qsizetype m_failing = 0; // how many of them do not
};

} // namespace Blocking

#endif
