// The results reader in the engine, on a results page of a heavy site's size: 3,000 menu links,
// 500 pictures nested deep, 30 results. Prints the reader's time inside the page (the median of
// seven readings, by shape and by a rule) beside the anchor, one walk over every element of the
// same page, as "name value" lines. Usage: reader_bench
#include "results/reading_rule.h"

#include <QApplication>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QString heavyPage()
{
    QString page = u"<div id=menu>"_s;
    for (int n = 0; n < 3000; ++n)
        page += u"<a href='/p/%1'>link %1</a> "_s.arg(n);
    page += u"</div><main>"_s;
    for (int n = 0; n < 30; ++n)
        page += u"<div class=tile><a href='/v/%1'><img src='/t%1.png' width=160 height=90></a>"
                "<h3>Video %1</h3><span class=duration>%2:%3</span></div>"_s.arg(n)
                    .arg(n % 60)
                    .arg(n % 50, 2, 10, QChar(u'0'));
    page += u"</main>"_s + u"<div>"_s.repeated(40);
    for (int n = 0; n < 500; ++n)
        page += u"<a href='/d/%1'><img src='/x.png' width=50 height=50></a>"_s.arg(n);
    return page + u"</div>"_s.repeated(40);
}

// Seven timings of the script inside the page, in milliseconds, the median of them.
QString timed(const QString &script)
{
    return u"(() => { const times = []; for (let k = 0; k < 7; ++k) { const t = performance.now();"
           " (%1); times.push(performance.now() - t); } times.sort((a, b) => a - b);"
           " return times[3]; })()"_s.arg(script);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWebEngineView view;
    view.resize(1200, 900);
    view.show();
    const QList<std::pair<const char *, QString>> figures{
        {"reader_shape_ms", timed(ReadingRules::readerScript({}))},
        {"reader_rule_ms",
         timed(ReadingRules::readerScript({u"div.tile"_s, u"h3"_s, {}, {}, {}, {}, {}}))},
        {"anchor_walk_ms",
         timed(u"Array.from(document.querySelectorAll('*')).filter(e => e.textContent).length"_s)}};
    int next = 0;
    const auto measure = [&](const auto &self) -> void {
        if (next == figures.size()) {
            QCoreApplication::quit();
            return;
        }
        const auto &[name, script] = figures[next++];
        view.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                   [&, name, self](const QVariant &ms) {
                                       std::printf("%s %.3f\n", name, ms.toDouble());
                                       self(self);
                                   });
    };
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [&] { measure(measure); });
    view.setHtml(heavyPage(), QUrl(u"http://results.example/search?q=x"_s));
    return application.exec();
}
