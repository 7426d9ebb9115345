#include "filetype.h"

#include <algorithm>

namespace {

struct Registry {
    std::vector<std::pair<const FileType*, FileTypeRegistration>> entries;
    FileTypeRegistryObserver observer;
};

// Never destroyed: file types held in static storage deregister from their
// destructors after main returns, when a static registry could be gone.
Registry& TheRegistry() {
    static Registry& registry = *new Registry;
    return registry;
}

} // namespace

const ClassRecord FileType::kClassRecord{"FileType", "Object", {}};

FileType::~FileType() {
    if (registered_)
        std::erase_if(TheRegistry().entries,
                      [this](const auto& entry) { return entry.first == this; });
}

void FileType::SetName(const std::string& name) {
    Deregister();
    name_ = name;
}

void FileType::SetExtensions(const std::string& extensions) {
    Deregister();
    extensions_ = extensions;
}

void FileType::SetMacType(const std::string& macType) {
    Deregister();
    macType_ = macType;
}

void FileType::SetMacCreator(const std::string& macCreator) {
    Deregister();
    macCreator_ = macCreator;
}

void FileType::SetMimeType(const std::string& mimeType) {
    Deregister();
    mimeType_ = mimeType;
}

void FileType::SetImported(bool imported) {
    Deregister();
    imported_ = imported;
}

void FileType::SetConformsTo(const std::string& conformsTo) {
    Deregister();
    conformsTo_ = conformsTo;
}

void FileType::SetUTI(const std::string& uti) {
    Deregister();
    uti_ = uti;
}

std::string FileType::Operator_Convert() {
    Register();
    return name_;
}

void FileType::Register() {
    if (registered_)
        return;
    const FileTypeRegistration registration{name_, macCreator_, macType_, extensions_, uti_};
    Registry& registry = TheRegistry();
    if (registry.observer)
        registry.observer(registration, true);
    registry.entries.emplace_back(this, registration);
    registered_ = true;
}

void FileType::Deregister() {
    if (!registered_)
        return;
    Registry& registry = TheRegistry();
    const auto entry =
        std::ranges::find(registry.entries, this, [](const auto& held) { return held.first; });
    if (registry.observer)
        registry.observer(entry->second, false);
    registry.entries.erase(entry);
    registered_ = false;
}

std::vector<FileTypeRegistration> RegisteredFileTypes() {
    std::vector<FileTypeRegistration> registrations;
    for (const auto& entry : TheRegistry().entries)
        registrations.push_back(entry.second);
    return registrations;
}

void SetFileTypeRegistryObserver(FileTypeRegistryObserver observer) {
    TheRegistry().observer = std::move(observer);
}
