// Writes the program icon as PNG files, DIR/SIZE/kelvor.png for every SIZE given, for the
// installed icon theme.
#include "ProgramIcon.h"

#include <QDir>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kelvor-icon DIR SIZE...\n");
        return 2;
    }
    const QString Root = QString::fromLocal8Bit(argv[1]);
    for (int K = 2; K < argc; ++K) {
        const int Size = std::atoi(argv[K]);
        if (Size < 1 || Size > 1024) {
            std::fprintf(stderr, "kelvor-icon: bad size %s\n", argv[K]);
            return 2;
        }
        const QString Dir = Root + "/" + QString::number(Size);
        const QString File = Dir + "/kelvor.png";
        if (!QDir().mkpath(Dir) || !ProgramIconImage(Size).save(File, "PNG")) {
            std::fprintf(stderr, "kelvor-icon: cannot write %s\n", qPrintable(File));
            return 1;
        }
    }
    return 0;
}
