#include <QApplication>
#include <QMainWindow>
#include <QTabWidget>
#include <QWebEngineView>
#include <unistd.h>

// Usage: bare_engine ADDRESS... (up to ten). Each view loads its address at start.
int main(int argc, char *argv[])
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Anchor"));
    auto *tabs = new QTabWidget;
    window.setCentralWidget(tabs);
    const QStringList addresses = QApplication::arguments().mid(1);
    for (int index = 0; index < 10; ++index) {
        auto *view = new QWebEngineView;
        tabs->addTab(view, QString::number(index));
        if (index < addresses.size())
            view->setUrl(QUrl(addresses[index]));
    }
    window.showMaximized();
    return QApplication::exec();
}
