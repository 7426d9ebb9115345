#pragma once

#include <QImage>
#include <QString>

// The framework's view inside a Picture.
struct PicturePrivate {
    QImage image;
};

// The path of the first file of that name among the picture folders, or empty.
QString FindPicture(const QString& fileName);
