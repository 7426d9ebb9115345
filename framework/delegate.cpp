#include "delegate.h"

const ClassRecord Delegate::kClassRecord{"Delegate", "Object", {}};
