#pragma once

#include "control.h"

#include <memory>

class Picture;

// A drawing area that shows its backdrop picture.
class Canvas : public RectControl {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    std::shared_ptr<Picture> Backdrop() const { return backdrop_; }
    void SetBackdrop(const std::shared_ptr<Picture>& picture);

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    bool CanTakeFocus() const override { return allowFocus_; }

private:
    std::shared_ptr<Picture> backdrop_;
    bool allowFocus_ = true;
};
