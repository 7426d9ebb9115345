#pragma once

#include "object.h"

#include <memory>
#include <string>

struct PicturePrivate;

// An image read from the application's resource folder.
class Picture : public Object {
public:
    Picture();
    ~Picture() override;

    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    // The picture in the file of that name, or nil when it is missing or unreadable.
    static std::shared_ptr<Picture> OpenFromApp(const std::string& fileName);

    int Width() const;
    int Height() const;

    // Framework side: the image.
    const PicturePrivate& Data() const { return *d_; }

private:
    std::unique_ptr<PicturePrivate> d_;
};

// The folder pictures are read from: "resources" beside the executable,
// unless set otherwise.
std::string ResourceFolder();
void SetResourceFolder(const std::string& folder);
