#pragma once

#include "object.h"

#include <memory>
#include <string>

struct PicturePrivate;

// An image read from one of the application's picture files.
class Picture : public Object {
public:
    Picture();
    ~Picture() override;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    // The picture in the file of that name, or nil when it is missing or unreadable.
    static std::shared_ptr<Picture> OpenFromApp(const std::string& fileName);

    // The size it shows at, in points; a picture drawn at twice the size for a
    // high-resolution screen has the same as the other.
    int Width() const;
    int Height() const;

    // Framework side: the image.
    const PicturePrivate& Data() const { return *d_; }

private:
    std::unique_ptr<PicturePrivate> d_;
};

// Reads pictures from that folder alone; empty, from "resources" beside the
// executable or else "../share/velk" from it.
void SetResourceFolder(const std::string& folder);
