// Decodes a picture with Qt's own decoder, as Velk would at start-up, and
// writes the pixels into the pixel file that Velk reads in its place.
//
//   decodepicture PICTURE PIXELFILE

#include "framework/pixelfile.h"

#include <QCoreApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PICTURE PIXELFILE\n", argv[0]);
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "decodepicture: cannot decode %s\n", argv[1]);
        return 1;
    }
    if (!WritePixelFile(QString::fromLocal8Bit(argv[2]), image)) {
        std::fprintf(stderr, "decodepicture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
