#include "textfield.h"

#include "qtconvert.h"
#include "runtime.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>
#include <cctype>

namespace {

// Keeps what the user types within a number of characters; text set by the
// program does not pass through it.
class LengthLimit : public QValidator {
public:
    LengthLimit(int maximum, QObject* parent) : QValidator(parent), maximum_(maximum) {}

    State validate(QString& input, int&) const override {
        return input.size() <= maximum_ ? Acceptable : Invalid;
    }

private:
    int maximum_;
};

// The framework's mask in Qt's terms: "#" is an optional digit, every other
// sign a literal that the cursor steps over.
QString ToQtInputMask(const std::string& mask) {
    QString qtMask;
    for (const char sign : mask) {
        if (sign == '#')
            qtMask += QLatin1Char('0');
        else if (std::isalnum(static_cast<unsigned char>(sign)))
            throw UnsupportedFormatException("The input mask sign " + std::string(1, sign) +
                                             " is not known");
        else
            qtMask += QStringLiteral("\\") + QLatin1Char(sign);
    }
    return qtMask;
}

// Qt's mask takes any Unicode digit ("٣", "²") for an ASCII one: only ASCII
// digits, the mask's own signs and the blank get through.
class MaskSigns : public QValidator {
public:
    MaskSigns(QString literals, QObject* parent)
        : QValidator(parent), literals_(std::move(literals)) {}

    State validate(QString& input, int&) const override {
        for (const QChar sign : input)
            if (!(sign >= QLatin1Char('0') && sign <= QLatin1Char('9')) &&
                sign != QLatin1Char(' ') && !literals_.contains(sign))
                return Invalid;
        return Acceptable;
    }

private:
    QString literals_;
};

// Passes each key to the control's KeyDown before the field sees it.
class KeyDownFilter : public QObject {
public:
    KeyDownFilter(std::function<bool(const std::string&)> keyDown, QObject* parent)
        : QObject(parent), keyDown_(std::move(keyDown)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        bool handled = false;
        const std::string key = ToStdString(static_cast<QKeyEvent*>(event)->text());
        DispatchEvent([&] { handled = keyDown_(key); });
        return handled;
    }

private:
    std::function<bool(const std::string&)> keyDown_;
};

} // namespace

const ClassRecord TextField::kClassRecord{"TextField", "RectControl", {}};

QWidget* TextField::CreateWidget(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    // A digit deleted from the middle of a masked field leaves a blank that
    // the field's text skips: close the gap, so that the field shows the
    // number it holds.
    QObject::connect(field, &QLineEdit::textEdited, field, [field] {
        if (field->inputMask().isEmpty())
            return;
        QString shown = field->displayText();
        while (shown.endsWith(QLatin1Char(' ')))
            shown.chop(1);
        const QString text = field->text();
        if (shown == text)
            return;
        const int cursor = field->cursorPosition();
        field->setText(text);
        field->setCursorPosition(std::min<int>(cursor, text.size()));
    });
    std::weak_ptr<TextField> self = std::static_pointer_cast<TextField>(shared_from_this());
    field->installEventFilter(new KeyDownFilter(
        [self](const std::string& key) {
            const auto control = self.lock();
            return control && control->RaiseKeyDown(key);
        },
        field));
    return field;
}

std::string TextField::Text() const {
    return ToStdString(WidgetAs<QLineEdit>().text());
}

void TextField::SetText(const std::string& text) {
    auto& field = WidgetAs<QLineEdit>();
    field.setText(ToQString(text));
    // An emptied masked field takes its next digits from the start.
    if (!mask_.empty() && text.empty())
        field.setCursorPosition(0);
}

void TextField::ApplyInputRules() {
    auto& field = WidgetAs<QLineEdit>();
    const QString text = field.text();
    field.setInputMask(ToQtInputMask(mask_));
    delete field.validator();
    // A mask bounds the length itself, and Qt ignores a limit on a masked field.
    if (!mask_.empty())
        field.setValidator(new MaskSigns(ToQString(mask_).remove(QLatin1Char('#')), &field));
    else if (maximumCharacters_ > 0)
        field.setValidator(new LengthLimit(static_cast<int>(maximumCharacters_), &field));
    else
        field.setValidator(nullptr);
    field.setText(text);
}

void TextField::SetProperty(std::string_view name, const PropertyValue& value) {
    auto& field = WidgetAs<QLineEdit>();
    if (name == "Value")
        SetText(std::string(StringValue(name, value)));
    else if (name == "ValidationMask") {
        mask_ = StringValue(name, value);
        ApplyInputRules();
    } else if (name == "MaximumCharactersAllowed") {
        maximumCharacters_ = IntegerValue(name, value);
        if (maximumCharacters_ < 0)
            throw OutOfBoundsException("MaximumCharactersAllowed takes 0 (no limit) or more");
        ApplyInputRules();
    } else if (name == "ReadOnly")
        field.setReadOnly(BooleanValue(name, value));
    else if (name == "HasBorder")
        field.setFrame(BooleanValue(name, value));
    else if (name == "Password")
        field.setEchoMode(BooleanValue(name, value) ? QLineEdit::Password : QLineEdit::Normal);
    else if (name == "Hint")
        field.setPlaceholderText(ToQString(StringValue(name, value)));
    else if (name == "TextAlignment")
        field.setAlignment(ToQtAlignment(IntegerValue(name, value)));
    else if (name == "BackgroundColor")
        SetPaletteColor(field, QPalette::Base, ColorValue(name, value));
    else if (name == "TextColor")
        SetPaletteColor(field, QPalette::Text, ColorValue(name, value));
    else if (name == "Format") {
        if (!StringValue(name, value).empty())
            throw UnsupportedFormatException("Text fields here show their text unformatted");
    } else if (name == "AllowTabs" || name == "AllowSpellChecking") {
        // A single line takes no tabs, and Qt has no spelling checker.
        BooleanValue(name, value);
    } else
        RectControl::SetProperty(name, value);
}
