#include "app/filetypes.h"

namespace FileTypes {

namespace {

// Sets every property a type declares, in the order the types are described.
void Describe(FileType& type, const std::string& name, const std::string& macType,
              const std::string& macCreator) {
    type.SetName(name);
    type.SetExtensions("");
    type.SetMacType(macType);
    type.SetMacCreator(macCreator);
    type.SetMimeType("");
    type.SetImported(true);
    type.SetConformsTo("");
}

} // namespace

std::shared_ptr<FileType> Text() {
    return pText;
}

std::shared_ptr<FileType> UntitledType() {
    return pUntitledType;
}

void Initialize() {
    // Every setter withdraws a registration, so each type is converted to
    // text, which registers it, only once all its properties are set.
    pText = std::make_shared<FileType>();
    Describe(*pText, "text", "TEXT", "R*ch");
    pAllFileTypes.push_back(pText);
    NotNil(Text()).Operator_Convert();

    pUntitledType = std::make_shared<FileType>();
    Describe(*pUntitledType, "", "", "");
    pAllFileTypes.push_back(pUntitledType);
    NotNil(UntitledType()).Operator_Convert();
}

} // namespace FileTypes
