// Writes the program icon as PNG files for the installation: iconpng <size> <file> ...
// Draws with the program's own painter, so the installed icons and the window icon agree.
#include "shell/startup.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("Aufruf: iconpng GROESSE DATEI...\nZeichnet das Programmsymbol in jeder "
                    "GROESSE (16 bis 1024) als PNG-Datei.\n");
        return 0;
    }
    // Runs during the build, where no display may exist.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "Aufruf: iconpng GROESSE DATEI...\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const int size = std::atoi(argv[i]);
        if (size < 16 || size > 1024 || !kovanta::programIconImage(size).save(
                                            QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "iconpng: %s nicht geschrieben\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
