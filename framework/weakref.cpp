#include "weakref.h"

const ClassRecord WeakRef::kClassRecord{"WeakRef", "Object", {}};
