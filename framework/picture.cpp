#include "picture.h"

#include "picture_p.h"
#include "pixelfile.h"
#include "qtconvert.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

std::string& ResourceFolderSetting() {
    static std::string folder;
    return folder;
}

// The folders searched, in order: the one set, or else "resources" beside the
// executable, as in a build, and "../share/velk" from it, as installed.
QStringList PictureFolders() {
    if (!ResourceFolderSetting().empty())
        return {ToQString(ResourceFolderSetting())};
    const QDir bin(QCoreApplication::applicationDirPath());
    return {bin.filePath(QStringLiteral("resources")),
            bin.filePath(QStringLiteral("../share/velk"))};
}

// The file drawn at twice the size: "Velk64@2x.jpg" for "Velk64.jpg".
QString TwiceSizeName(const QString& fileName) {
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName + QStringLiteral("@2x")
                   : fileName.left(dot) + QStringLiteral("@2x") + fileName.mid(dot);
}

// Reads the image from the picture folders, from its pixel file where it has
// one; false when it is missing or unreadable.
bool Load(QImage& image, const QString& fileName) {
    const QString path = FindPicture(fileName);
    return !path.isEmpty() && (ReadPixelFile(PixelFilePath(path), image) || image.load(path));
}

} // namespace

QString FindPicture(const QString& fileName) {
    for (const QString& folder : PictureFolders()) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

Picture::Picture() : d_(std::make_unique<PicturePrivate>()) {}

Picture::~Picture() = default;

const ClassRecord Picture::kClassRecord{"Picture", "Object", {}};

std::shared_ptr<Picture> Picture::OpenFromApp(const std::string& fileName) {
    const QString name = ToQString(fileName);
    auto picture = std::make_shared<Picture>();
    // A screen with more than one device pixel to a point shows the picture
    // drawn at twice the size, where there is one, at the same logical size;
    // the other file is then not read at all.
    if (qGuiApp->devicePixelRatio() > 1 && Load(picture->d_->image, TwiceSizeName(name))) {
        picture->d_->image.setDevicePixelRatio(2);
        return picture;
    }
    if (!Load(picture->d_->image, name))
        return nullptr;
    return picture;
}

int Picture::Width() const {
    return qRound(d_->image.deviceIndependentSize().width());
}

int Picture::Height() const {
    return qRound(d_->image.deviceIndependentSize().height());
}

void SetResourceFolder(const std::string& folder) {
    ResourceFolderSetting() = folder;
}
