#include "menus/menuitems.h"

#include "app/velk.h"

#include <string>

namespace {

template <class Item> std::shared_ptr<Item> LookupItem(const std::string& name) {
    return RuntimeCheckCast<Item>(NotNil(NotNil(App()).GetMenuBar()).Lookup(name));
}

} // namespace

std::shared_ptr<AppleMenuItem> AboutVelk() {
    return LookupItem<AppleMenuItem>("AboutVelk");
}

std::shared_ptr<MenuItem> AboutMenuItem() {
    return LookupItem<MenuItem>("AboutMenuItem");
}

std::shared_ptr<MenuItem> ControlMenuItem() {
    return LookupItem<MenuItem>("ControlMenuItem");
}
