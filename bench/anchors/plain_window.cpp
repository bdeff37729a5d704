#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QStyle>
#include <QToolBar>

// A plain Qt Widgets window with a toolbar row like Reelhop's: picture buttons and a text box.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // A steady cursor: a blinking one in the watched toolbar row would count as the window
    // still being painted, half a second later, in every other run.
    QApplication::setCursorFlashTime(0);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Anchor"));
    QToolBar *toolbar = window.addToolBar(QStringLiteral("Browse"));
    for (const auto icon : {QStyle::SP_ArrowBack, QStyle::SP_ArrowForward, QStyle::SP_BrowserStop,
                            QStyle::SP_BrowserReload, QStyle::SP_DialogSaveButton})
        toolbar->addAction(window.style()->standardIcon(icon), QString());
    toolbar->addWidget(new QLineEdit);
    window.showMaximized();
    return QApplication::exec();
}
