// The results reader in the engine, on a results page of a heavy site's size: 3,000 menu links,
// 500 pictures nested deep, 30 results. Prints the reader's time inside the page (the median of
// seven readings, by shape and by a rule) beside the anchor, one walk over every element of the
// same page, as "name value" lines. Given a saved real results page, it reads that one instead,
// served on 127.0.0.1 as if from the address, and also prints what taking the reader's answer
// costs the window's thread (checking it and merging it into the list).
// Usage: reader_bench [PAGE ADDRESS]
#include "results/page_reading.h"
#include "results/reading_rule.h"
#include "results/result_list.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
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
    const bool real = argc == 3;
    const QString address = real ? QString::fromLocal8Bit(argv[2]) : QString();
    QList<std::pair<const char *, QString>> figures{
        {"reader_shape_ms", timed(ReadingRules::readerScript({}))},
        {"reader_rule_ms",
         timed(ReadingRules::readerScript({u"div.tile"_s, u"h3"_s, {}, {}, {}, {}, {}}))},
        {"anchor_walk_ms",
         timed(u"Array.from(document.querySelectorAll('*')).filter(e => e.textContent).length"_s)}};
    if (real)
        figures[0] = {"real_shape_ms",
                      timed(ReadingRules::readerScript({}, ReadingRules::Means::ShapeOnly, address))};
    if (real)
        figures.append({"real_window_ms",
                        ReadingRules::readerScript({}, ReadingRules::Means::ShapeOnly, address)});
    int next = 0;
    const auto measure = [&](const auto &self) -> void {
        if (next == figures.size()) {
            QCoreApplication::quit();
            return;
        }
        const auto &[name, script] = figures[next++];
        view.page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                   [&, name, self](const QVariant &answer) {
                                       double ms = answer.toDouble();
                                       if (qstrcmp(name, "real_window_ms") == 0) {
                                           QElapsedTimer taking;
                                           taking.start();
                                           const PageReading reading =
                                               PageReadings::fromAnswer(answer);
                                           ResultList::merge({{0, reading.results}});
                                           ms = taking.nsecsElapsed() / 1e6;
                                           std::printf("real_results %d\n", int(reading.results.size()));
                                       }
                                       std::printf("%s %.3f\n", name, ms);
                                       self(self);
                                   });
    };
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [&] { measure(measure); });
    // A saved page is larger than a page set as html may be: it is served, and nothing else.
    QTcpServer server;
    QByteArray saved;
    if (real) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly) || !server.listen(QHostAddress::LocalHost))
            return 2;
        saved = file.readAll();
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
            QTcpSocket *socket = server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &saved] {
                const bool page = socket->readAll().startsWith("GET / ");
                const QByteArray body = page ? saved : QByteArray();
                socket->write((page ? "HTTP/1.1 200 OK" : "HTTP/1.1 404 Not Found") +
                              "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "_ba +
                              QByteArray::number(body.size()) + "\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
        view.load(QUrl(u"http://127.0.0.1:%1/"_s.arg(server.serverPort())));
    } else {
        view.setHtml(heavyPage(), QUrl(u"http://results.example/search?q=x"_s));
    }
    return application.exec();
}
