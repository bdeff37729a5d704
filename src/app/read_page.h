#ifndef REELHOP_APP_READ_PAGE_H
#define REELHOP_APP_READ_PAGE_H

#include <QString>

// Reads a saved results page as the window would read it coming from its address, for someone
// mending a site's rule: one JSON object a result on standard output. The page is shown by the
// real engine, off screen, and none of its own requests leave the machine.
namespace ReadPage {

struct Request
{
    QString file;
    QString address;
    // A site of the lineup, 1 to 9, whose rule reads the page; 0: the address's own rule; -1:
    // none that could be named.
    int site = 0;
    bool shapeOnly = false;
};

// Why the request cannot be read, before any engine starts; empty when it can.
QString problem(const Request &request);

// Reads and prints; the exit code: 0 read, 2 not. Needs the application object.
int run(const Request &request, const QString &dataFolder);

} // namespace ReadPage

#endif
