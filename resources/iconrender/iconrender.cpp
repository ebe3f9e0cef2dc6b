// Renders the program's SVG icons into PNGs and into a Windows .ico, so the build needs no
// image tools beyond Qt, and the Windows program (whose Qt has no SVG) gets pictures made
// from the same sources.
//   huddlex_iconrender ICON.svg SIZE OUT.png
//   huddlex_iconrender --ico ICON.svg OUT.ico SIZE...
#include "icowriter.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

namespace {

int sizeArgument(const char* text) {
    const int size = std::atoi(text);
    if (size <= 0 || size > 256) {
        std::fprintf(stderr, "%s: not a size from 1 to 256\n", text);
        std::exit(2);
    }
    return size;
}

QImage render(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool ico = argc >= 5 && qstrcmp(argv[1], "--ico") == 0;
    if (!ico && argc != 4) {
        std::fprintf(stderr,
                     "usage: %s ICON.svg SIZE OUT.png\n"
                     "       %s --ico ICON.svg OUT.ico SIZE...\n",
                     argv[0], argv[0]);
        return 2;
    }
    const char* svg = ico ? argv[2] : argv[1];
    const char* out = argv[3];
    QSvgRenderer renderer(QString::fromLocal8Bit(svg));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: not a readable SVG\n", svg);
        return 1;
    }
    bool written = false;
    if (ico) {
        QList<QImage> images;
        for (int i = 4; i < argc; ++i)
            images << render(renderer, sizeArgument(argv[i]));
        QFile file(QString::fromLocal8Bit(out));
        written =
            file.open(QIODevice::WriteOnly) && file.write(icoFile(images)) > 0 && file.flush();
    } else {
        written = render(renderer, sizeArgument(argv[2])).save(QString::fromLocal8Bit(out), "PNG");
    }
    if (!written) {
        std::fprintf(stderr, "%s: cannot write\n", out);
        return 1;
    }
    return 0;
}
