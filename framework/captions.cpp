#include "captions.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTextEdit>

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

// Whether the focus on the field would let the user type into it.
bool TakesTyping(const QWidget& field) {
    const auto* line = qobject_cast<const QLineEdit*>(&field);
    const auto* area = qobject_cast<const QTextEdit*>(&field);
    return field.isVisible() && field.isEnabled() && field.focusPolicy() != Qt::NoFocus &&
           ((line && !line->isReadOnly()) || (area && !area->isReadOnly()));
}

// Keeps the keyboard focus off a caption. A caption that took it would
// leave the user's typing nowhere; its field is where the user means to go.
// The caption's text is no selection of the user's either: a click or a
// drag on it selects nothing.
class CaptionFocus : public QObject {
public:
    CaptionFocus(QWidget& caption, QWidget& field)
        : QObject(&caption), caption_(caption), field_(&field) {
        caption.setFocusPolicy(Qt::NoFocus);
        caption.installEventFilter(this);
        // Focus given by the program or a screen reader ignores the policy.
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
            if (now == &caption_)
                HandOn(old, Qt::OtherFocusReason);
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            HandOn(QApplication::focusWidget(), Qt::MouseFocusReason);
            return true;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            return true;
        default:
            return false;
        }
    }

private:
    void HandOn(QWidget* previous, Qt::FocusReason reason) {
        if (field_ && TakesTyping(*field_))
            field_->setFocus(reason);
        else if (previous && previous != &caption_ && previous->window() == caption_.window())
            previous->setFocus(reason);
        else if (caption_.hasFocus())
            caption_.clearFocus();
    }

    QWidget& caption_;
    QPointer<QWidget> field_;
};

} // namespace

void PairFieldsWithTheirCaptions(const QWidget& content) {
    const QList<QWidget*> controls = content.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* field : controls) {
        const bool area = qobject_cast<QTextEdit*>(field);
        if ((!area && !qobject_cast<QLineEdit*>(field)) || !field->accessibleName().isEmpty())
            continue;
        const QRect place = field->geometry();
        QWidget* nearest = nullptr;
        for (QWidget* other : controls) {
            const QRect caption = other->geometry();
            const bool leftOnTheLine = caption.right() < place.left() &&
                                       caption.top() <= place.bottom() &&
                                       place.top() <= caption.bottom();
            if (other != field && leftOnTheLine && CaptionText(*other) &&
                (!nearest || caption.right() > nearest->geometry().right()))
                nearest = other;
        }
        if (nearest) {
            field->setAccessibleName(*CaptionText(*nearest));
            new CaptionFocus(*nearest, *field);
        } else if (area) {
            // A text area alone is the window's document.
            field->setAccessibleName(content.window()->windowTitle());
        }
    }
}
