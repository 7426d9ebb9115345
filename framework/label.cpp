#include "label.h"

#include "qtconvert.h"

#include <QLabel>

const ClassRecord Label::kClassRecord{"Label", "RectControl", {}};

QWidget* Label::CreateWidget(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

std::string Label::Text() const {
    return ToStdString(WidgetAs<QLabel>().text());
}

void Label::SetProperty(std::string_view name, const PropertyValue& value) {
    auto& label = WidgetAs<QLabel>();
    if (name == "Value")
        label.setText(ToQString(StringValue(name, value)));
    else if (name == "Multiline")
        label.setWordWrap(BooleanValue(name, value));
    else if (name == "Selectable")
        label.setTextInteractionFlags(BooleanValue(name, value) ? Qt::TextSelectableByMouse
                                                                : Qt::NoTextInteraction);
    else if (name == "TextAlignment")
        label.setAlignment(ToQtAlignment(IntegerValue(name, value)));
    else if (name == "TextColor")
        SetPaletteColor(label, QPalette::WindowText, ColorValue(name, value));
    else
        RectControl::SetProperty(name, value);
}
