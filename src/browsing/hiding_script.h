#ifndef REELHOP_BROWSING_HIDING_SCRIPT_H
#define REELHOP_BROWSING_HIDING_SCRIPT_H

#include "blocking/page_hiding.h"

#include <QString>

// The script that hides, from the program's own world, what the rules name on a page: its
// sheet at once, and each rule filed by name once an element of that id or class turns up.
// What it adds comes back when the page takes it out.
QString hidingScript(const PageHiding &hiding);

#endif
