#include "captions.h"

#include <QLabel>
#include <QLineEdit>

#include <optional>

namespace {

// The caption's text, or nothing when the widget is no caption.
std::optional<QString> CaptionText(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    if (const auto* field = qobject_cast<const QLineEdit*>(&widget); field && field->isReadOnly())
        return field->text();
    return std::nullopt;
}

} // namespace

void NameFieldsByTheirCaptions(const QWidget& content) {
    const QList<QWidget*> controls = content.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        auto* field = qobject_cast<QLineEdit*>(control);
        if (!field || !field->accessibleName().isEmpty())
            continue;
        const QRect place = field->geometry();
        const QWidget* nearest = nullptr;
        for (const QWidget* other : controls) {
            const QRect caption = other->geometry();
            const bool leftOnTheLine = caption.right() < place.left() &&
                                       caption.top() <= place.bottom() &&
                                       place.top() <= caption.bottom();
            if (other != field && leftOnTheLine && CaptionText(*other) &&
                (!nearest || caption.right() > nearest->geometry().right()))
                nearest = other;
        }
        if (nearest)
            field->setAccessibleName(*CaptionText(*nearest));
    }
}
