#pragma once

#include "framework/picture.h"

#include <memory>

// The application's pictures, each read from its file once and then kept
// for the rest of the run. Nil while the file cannot be read; the next call
// tries again.
std::shared_ptr<Picture> Velk32();
std::shared_ptr<Picture> Velk64();
