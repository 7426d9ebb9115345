#pragma once

#include "framework/menuitem.h"

#include <memory>

// The application's menu bar. Building it builds its whole tree: five
// top-level menus and their items, found later by name.
class Menu : public MenuBar {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }

    void Constructor() override;
    virtual void Untitled0();
    virtual void Untitled1();
    virtual void Untitled2();
    virtual void Untitled3();
    virtual void Untitled4();
};

namespace instance {

// The one menu bar, built at the first call and kept for the rest of the run.
std::shared_ptr<::Menu> Menu();

} // namespace instance
