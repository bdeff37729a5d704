// Watches a part of the screen and prints "<monotonic seconds> <hash>" each time its picture
// changes, so that the benchmark can tell when a window is painted as it stays, not just mapped.
// Usage: screen_watch X Y WIDTH HEIGHT; runs until killed.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 5)
        return 2;
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const int width = std::atoi(argv[3]), height = std::atoi(argv[4]);
    QScreen *screen = QGuiApplication::primaryScreen();
    size_t last = 0;
    for (;;) {
        const QImage picture = screen->grabWindow(0, x, y, width, height).toImage();
        const size_t hash = qHashBits(picture.constBits(), size_t(picture.sizeInBytes()));
        if (hash != last) {
            const double now =
                std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
                    .count();
            std::printf("%.6f %zx\n", now, hash);
            std::fflush(stdout);
            last = hash;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
