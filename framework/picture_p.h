#pragma once

#include <QImage>

// The framework's view inside a Picture.
struct PicturePrivate {
    QImage image;
};
