#pragma once

#include "control.h"

#include <string>

// A multi-line, scrolling text area. Its text breaks lines with CR.
class TextArea : public RectControl {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    std::string Text() const;
    void SetText(const std::string& text);

protected:
    QWidget* CreateWidget(QWidget* parent) override;
};
