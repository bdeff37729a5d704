#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTabWidget>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <unistd.h>

// Usage: bare_engine ADDRESS... (up to ten). Each view loads its address at start; Enter in the
// box above the tabs sends the first nine views to http://siteN.example/results?q=<the box's text>.
int main(int argc, char *argv[])
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Anchor"));
    auto *client = new QWidget;
    auto *column = new QVBoxLayout(client);
    auto *searchBox = new QLineEdit;
    auto *tabs = new QTabWidget;
    column->addWidget(searchBox);
    column->addWidget(tabs);
    window.setCentralWidget(client);
    const QStringList addresses = QApplication::arguments().mid(1);
    QList<QWebEngineView *> views;
    for (int index = 0; index < 10; ++index) {
        views.append(new QWebEngineView);
        tabs->addTab(views.last(), QString::number(index));
        if (index < addresses.size())
            views.last()->setUrl(QUrl(addresses[index]));
    }
    QObject::connect(searchBox, &QLineEdit::returnPressed, [&] {
        for (int index = 0; index < 9; ++index) {
            QUrl address(QStringLiteral("http://site%1.example/results").arg(index));
            address.setQuery(QUrlQuery({{QStringLiteral("q"), searchBox->text()}}));
            views[index]->setUrl(address);
        }
    });
    searchBox->setFocus();
    window.showMaximized();
    return QApplication::exec();
}
