#include "browser_command.h"

#include "browser_view.h"
#include "search/site_catalogue.h"

std::optional<int> viewForCommand(BrowserCommand command, int tab)
{
    if (command == BrowserCommand::Refresh && tab == SiteCatalogue::FavoritesTab)
        return SiteCatalogue::HomeView;
    return SiteCatalogue::viewOfTab(tab);
}

void runCommand(BrowserCommand command, BrowserView &view)
{
    switch (command) {
    case BrowserCommand::Back:
        view.goBack();
        break;
    case BrowserCommand::Forward:
        view.goForward();
        break;
    case BrowserCommand::Stop:
        view.stop();
        break;
    case BrowserCommand::Refresh:
        view.refresh();
        break;
    case BrowserCommand::Print:
        view.printWithDialog();
        break;
    }
}
