#ifndef REELHOP_BROWSING_BROWSER_COMMAND_H
#define REELHOP_BROWSING_BROWSER_COMMAND_H

#include <optional>

class BrowserView;

// The toolbar's commands on a view.
enum class BrowserCommand { Back, Forward, Stop, Refresh, Print };

// The view a command acts on with a tab selected: a tab's own view, but Refresh on the favorites
// tab reloads the home view behind it; none on the notes tab.
std::optional<int> viewForCommand(BrowserCommand command, int tab);

// Runs the command; a view that cannot (no earlier page, nothing loading) ignores it.
void runCommand(BrowserCommand command, BrowserView &view);

#endif
