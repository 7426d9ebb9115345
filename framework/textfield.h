#pragma once

#include "control.h"

#include <string>

class QLineEdit;
class QString;

// A single-line text field, with an optional input mask and length limit.
class TextField : public RectControl {
public:
    static const ClassRecord kClassRecord;
    const ClassRecord& Class() const override { return kClassRecord; }
    void SetProperty(std::string_view name, const PropertyValue& value) override;

    std::string Text() const;
    // Sets the text whole, whatever limit the user's typing has.
    void SetText(const std::string& text);

    // Framework side: the Edit items' work on a field's widget, as the
    // field's own shortcuts do it. CopiedText is what Copy would give.
    static QString CopiedText(QLineEdit& field);
    static bool TakesPaste(QLineEdit& field);
    static void Copy(QLineEdit& field);
    static void Cut(QLineEdit& field);
    static void Paste(QLineEdit& field);

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    void ApplyInputRules();

    std::string mask_;
    int64_t maximumCharacters_ = 0;
};
