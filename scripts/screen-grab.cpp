// Saves a part of the X screen as PNG: screen-grab OUT.png [X Y WIDTH HEIGHT], in the screen's
// own pixels. Built and run by scripts/screenshots.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 6) {
        std::fprintf(stderr, "usage: screen-grab OUT.png [X Y WIDTH HEIGHT]\n");
        return 2;
    }
    // Pixels as the X server has them, whatever scale the caller runs the program at.
    qunsetenv("QT_SCALE_FACTOR");
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        std::fprintf(stderr, "screen-grab: no screen\n");
        return 1;
    }
    QPixmap shot = argc == 6 ? screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]),
                                                  std::atoi(argv[4]), std::atoi(argv[5]))
                             : screen->grabWindow(0);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "screen-grab: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
