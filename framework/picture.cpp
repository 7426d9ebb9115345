#include "picture.h"

#include "picture_p.h"
#include "qtconvert.h"

#include <QCoreApplication>
#include <QDir>

namespace {

std::string& ResourceFolderSetting() {
    static std::string folder;
    return folder;
}

} // namespace

Picture::Picture() : d_(std::make_unique<PicturePrivate>()) {}

Picture::~Picture() = default;

const ClassRecord Picture::kClassRecord{"Picture", "Object", {}};

std::shared_ptr<Picture> Picture::OpenFromApp(const std::string& fileName) {
    auto picture = std::make_shared<Picture>();
    const QString path = QDir(ToQString(ResourceFolder())).filePath(ToQString(fileName));
    if (!picture->d_->image.load(path))
        return nullptr;
    return picture;
}

int Picture::Width() const {
    return d_->image.width();
}

int Picture::Height() const {
    return d_->image.height();
}

std::string ResourceFolder() {
    if (!ResourceFolderSetting().empty())
        return ResourceFolderSetting();
    return ToStdString(QDir(QCoreApplication::applicationDirPath()).filePath("resources"));
}

void SetResourceFolder(const std::string& folder) {
    ResourceFolderSetting() = folder;
}
