// Writes the program's icons, drawn from its logo: makeicons <dir> gives <dir>/TintraV30.svg
// (scalable) and <dir>/TintraV30.png (48 x 48 pixels).
#include "widgets/logo.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeicons <output folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen"); // drawing only: no display needed
    QGuiApplication app(argc, argv);
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QFile svg(dir.filePath(QStringLiteral("TintraV30.svg")));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(tintra::LogoIconSvg()) < 0 || !svg.flush()) {
        std::fprintf(stderr, "makeicons: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    const QString png = dir.filePath(QStringLiteral("TintraV30.png"));
    if (!tintra::LogoIcon(48).save(png, "PNG")) {
        std::fprintf(stderr, "makeicons: cannot write %s\n", qPrintable(png));
        return 1;
    }
    return 0;
}
