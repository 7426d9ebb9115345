#pragma once

#include "framework/filetype.h"

#include <memory>
#include <vector>

// The application's file types, registered once at start-up and only kept.
namespace FileTypes {

inline std::vector<std::shared_ptr<FileType>> pAllFileTypes;
inline std::shared_ptr<FileType> pText;
inline std::shared_ptr<FileType> pUntitledType;

// The type named "text"; nil before Initialize.
std::shared_ptr<FileType> Text();
// The type whose texts are all empty; nil before Initialize.
std::shared_ptr<FileType> UntitledType();

// Creates both types, lists them and registers each with the framework.
void Initialize();

} // namespace FileTypes
