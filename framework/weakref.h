#pragma once

#include "object.h"

#include <memory>

// A reference that does not keep its object alive.
class WeakRef : public Object {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    // Points the reference at the object, which may be nil.
    void Constructor(const std::shared_ptr<Object>& object) { object_ = object; }

    // The object while it exists, nil once it has been destroyed.
    std::shared_ptr<Object> Value() const { return object_.lock(); }

private:
    std::weak_ptr<Object> object_;
};
