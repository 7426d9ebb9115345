#pragma once

#include <QImage>
#include <QString>

// A picture decoded when Velk is built, stored beside it as "NAME.pixels": a
// short header, then the rows of pixels as QImage holds them. Reading it
// takes no image decoder, so that start-up loads none.

// The pixel file that belongs to the picture at that path.
QString PixelFilePath(const QString& picturePath);

// Reads a pixel file into the image; false, and the image untouched, when the
// file is missing or is not a well-formed pixel file.
bool ReadPixelFile(const QString& path, QImage& image);

// Writes the picture as a pixel file, a picture with a colour table in a
// format without one; false when it cannot.
bool WritePixelFile(const QString& path, const QImage& picture);
