#include "windows/pictures.h"

std::shared_ptr<Picture> Velk32() {
    static std::shared_ptr<Picture> pic;
    if (!pic)
        pic = Picture::OpenFromApp("Velk32.jpg");
    return pic;
}

std::shared_ptr<Picture> Velk64() {
    static std::shared_ptr<Picture> pic;
    if (!pic)
        pic = Picture::OpenFromApp("Velk64.jpg");
    return pic;
}
