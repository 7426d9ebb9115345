#pragma once

// Conversions between the framework's plain values and Qt's types; only the
// framework's own sources include this.

#include <QColor>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <Qt>

#include <cstdint>
#include <string>
#include <string_view>

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

// &hRRGGBBAA, AA counting transparency: 00 is opaque.
inline QColor ToQColor(uint32_t color) {
    return QColor((color >> 24) & 0xff, (color >> 16) & 0xff, (color >> 8) & 0xff,
                  255 - (color & 0xff));
}

// TextAlignment: 0 the default (left), 1 left, 2 centre, 3 right.
Qt::Alignment ToQtAlignment(int64_t alignment);

inline void SetPaletteColor(QWidget& widget, QPalette::ColorRole role, uint32_t color) {
    QPalette palette = widget.palette();
    palette.setColor(role, ToQColor(color));
    widget.setPalette(palette);
}
