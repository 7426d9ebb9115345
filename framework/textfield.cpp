#include "textfield.h"

#include "qtconvert.h"
#include "runtime.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
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

// The framework's mask in Qt's terms. A field holds the decimals of a number:
// the masks it knows are one ASCII sign that stays put, the point, followed by
// "#" places, each an optional digit. Any other mask would leave the caret no
// place between its literal and its digits.
QString ToQtInputMask(const std::string& mask) {
    if (mask.empty())
        return {};
    const auto literal = static_cast<unsigned char>(mask.front());
    // Qt's mask ends at a semicolon, escaped or not.
    if (mask.size() < 2 || !std::isgraph(literal) || std::isalnum(literal) || literal == '#' ||
        literal == ';' || mask.find_first_not_of('#', 1) != std::string::npos)
        throw UnsupportedFormatException("A mask here is one sign, then digit places (#): " + mask);
    return QStringLiteral("\\") + QLatin1Char(mask.front()) +
           QString(static_cast<qsizetype>(mask.size() - 1), QLatin1Char('0'));
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

// Qt's line edit, with a masked field read as a number: its digits fill the
// places after the point from the left, the point typed means the decimals
// start here, pasted or dropped text comes in as one number or not at all,
// and copied text is the number as the field shows it.
// The masks this framework knows hold one point, first, then digit places.
class FieldEdit : public QLineEdit {
public:
    explicit FieldEdit(QWidget* parent) : QLineEdit(parent) {
        connect(this, &QLineEdit::textEdited, this, &FieldEdit::CloseGaps);
        connect(this, &QLineEdit::cursorPositionChanged, this, &FieldEdit::KeepCaretInDigits);
        // A selection from the point, deleted, leaves the caret where it began.
        connect(this, &QLineEdit::selectionChanged, this, &FieldEdit::KeepCaretInDigits);
        connect(QGuiApplication::clipboard(), &QClipboard::selectionChanged, this,
                &FieldEdit::ShowSelectionAsCopied);
    }

    bool Masked() const { return !inputMask().isEmpty(); }

    // The caret rests between the point and the end of the digits: typing
    // there always lands in the next digit place.
    void KeepCaretInDigits() {
        if (!Masked() || hasSelectedText())
            return;
        const int caret = std::clamp<int>(cursorPosition(), 1, text().size());
        if (caret != cursorPosition())
            setCursorPosition(caret);
    }

    // The selection as Copy gives it: as a masked field shows it, without the
    // blanks of its empty places, and nothing when it holds no digit. A
    // password field gives nothing.
    QString CopiedText() const {
        if (echoMode() != Normal)
            return {};
        if (!Masked())
            return selectedText();
        const QString shown = selectedText().remove(QLatin1Char(' '));
        return std::ranges::any_of(shown, [](QChar sign) { return sign.isDigit(); }) ? shown
                                                                                     : QString();
    }

    void Copy() {
        if (const QString copied = CopiedText(); !copied.isEmpty())
            QGuiApplication::clipboard()->setText(copied);
    }

    void Cut() {
        if (isReadOnly() || CopiedText().isEmpty())
            return;
        Copy();
        del();
    }

    // Whether the field takes the text pasted: a masked one takes only a
    // number that its places can show.
    bool TakesPaste(const QString& pasted) const {
        return !isReadOnly() && (Masked() ? !PastedNumber(pasted).isNull() : !pasted.isEmpty());
    }

    // The text as one number replaces the field's digits; anything else
    // leaves the field as it was.
    bool PasteNumber(const QString& pasted) {
        const QString number = PastedNumber(pasted);
        if (isReadOnly() || number.isNull())
            return false;
        selectAll();
        insert(number);
        return true;
    }

    void Paste(QClipboard::Mode mode) { PasteNumber(QGuiApplication::clipboard()->text(mode)); }

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (!Masked())
            return;
        // An empty field waits for its first digit after the point, whatever
        // gave it the focus. Qt puts the caret of a filled one on its first
        // digit after Tab, where a shorter number typed would leave digits of
        // the old one behind: select them, as an unmasked field does.
        const Qt::FocusReason reason = event->reason();
        if (text().size() == 1) {
            deselect();
            setCursorPosition(1);
        } else if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                   reason == Qt::ShortcutFocusReason) {
            selectAll();
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (!Masked())
            return QLineEdit::keyPressEvent(event);
        if (event->matches(QKeySequence::Copy))
            return Copy();
        if (event->matches(QKeySequence::Cut))
            return Cut();
        if (event->matches(QKeySequence::Paste))
            return Paste(QClipboard::Clipboard);
        if (!isReadOnly() && IsDecimalSign(*event))
            return TypePoint();
        QLineEdit::keyPressEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (Masked() && event->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection())
            return Paste(QClipboard::Selection);
        QLineEdit::mouseReleaseEvent(event);
    }

    void dropEvent(QDropEvent* event) override {
        if (!Masked())
            return QLineEdit::dropEvent(event);
        if (event->mimeData()->hasText() && PasteNumber(event->mimeData()->text()))
            event->acceptProposedAction();
        else
            event->ignore();
    }

    // Qt's menu copies and pastes the text as the field holds it, blanks and
    // all: in a masked field its Cut, Copy and Paste act as the keys do.
    void contextMenuEvent(QContextMenuEvent* event) override {
        const std::unique_ptr<QMenu> menu(createStandardContextMenu());
        if (Masked() && !isReadOnly()) {
            // Qt gives the actions no names: in an editable field's menu,
            // Undo, Redo and a line come first.
            const QList<QAction*> actions = menu->actions();
            const bool copies = !CopiedText().isEmpty();
            TakeOver(*actions.at(3), copies, [this] { Cut(); });
            TakeOver(*actions.at(4), copies, [this] { Copy(); });
            TakeOver(*actions.at(5), TakesPaste(QGuiApplication::clipboard()->text()),
                     [this] { Paste(QClipboard::Clipboard); });
        }
        menu->exec(event->globalPos());
    }

private:
    // The text as one number below 1, with no more decimals than the field
    // has places and a point or a comma before them, as the field shows it;
    // a null text for anything else, which the field refuses whole.
    QString PastedNumber(const QString& pasted) const {
        static const QRegularExpression kPlainDecimal(QStringLiteral("^(0*)(?:[.,]([0-9]*))?$"));
        const QRegularExpressionMatch number = kPlainDecimal.match(pasted.trimmed());
        QString decimals = number.captured(2);
        if (!number.hasMatch() || number.capturedLength(1) + decimals.size() == 0 ||
            decimals.size() > maxLength() - 1)
            return {};
        // Trailing zeros say nothing of the number: ".8600" shows as ".86".
        while (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        return QStringLiteral(".") + decimals;
    }

    // Qt hands the selected text to the X selection, which other programs
    // paste with a middle click, blanks and all: hand it the number as shown.
    void ShowSelectionAsCopied() {
        QClipboard& clipboard = *QGuiApplication::clipboard();
        if (!clipboard.ownsSelection() || !Masked() || !hasSelectedText())
            return;
        const QString shown = CopiedText();
        if (!shown.isEmpty() && shown != selectedText() &&
            clipboard.text(QClipboard::Selection) == selectedText())
            clipboard.setText(shown, QClipboard::Selection);
    }

    // A standard menu action made to do the field's own work, on only where
    // that work would act.
    void TakeOver(QAction& action, bool enabled, const std::function<void()>& work) {
        action.disconnect(this);
        action.setEnabled(enabled);
        connect(&action, &QAction::triggered, this, work);
    }

    // The point, and the comma that many users type for it; the keypad's
    // decimal key sends one or the other as the keyboard layout has it.
    static bool IsDecimalSign(const QKeyEvent& event) {
        return event.text() == QLatin1String(".") || event.text() == QLatin1String(",");
    }

    // The point after nothing but zeros ends the whole-number part: the
    // decimals start afresh. After any other digit the number has its
    // decimals already, and the point is refused.
    void TypePoint() {
        QString kept = text();
        if (hasSelectedText())
            kept.remove(selectionStart(), selectionEnd() - selectionStart());
        kept.remove(QLatin1Char('.'));
        if (kept.count(QLatin1Char('0')) != kept.size())
            return;
        selectAll();
        insert(QStringLiteral("."));
    }

    // A digit deleted from the middle leaves a blank that the field's text
    // skips: close the gap, so that the field shows the number it holds.
    void CloseGaps() {
        if (!Masked())
            return;
        QString shown = displayText();
        while (shown.endsWith(QLatin1Char(' ')))
            shown.chop(1);
        const QString digits = text();
        if (shown == digits)
            return;
        const int caret = cursorPosition();
        setText(digits);
        setCursorPosition(std::min<int>(caret, digits.size()));
    }
};

// Every line edit the framework makes is a field's.
FieldEdit& EditOf(QLineEdit& field) {
    return dynamic_cast<FieldEdit&>(field);
}

} // namespace

const ClassRecord TextField::kClassRecord{"TextField", "RectControl", {}};

QWidget* TextField::CreateWidget(QWidget* parent) {
    auto* field = new FieldEdit(parent);
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
    EditOf(field).KeepCaretInDigits();
}

QString TextField::CopiedText(QLineEdit& field) {
    return EditOf(field).CopiedText();
}

bool TextField::TakesPaste(QLineEdit& field) {
    return EditOf(field).TakesPaste(QGuiApplication::clipboard()->text());
}

void TextField::Copy(QLineEdit& field) {
    EditOf(field).Copy();
}

void TextField::Cut(QLineEdit& field) {
    EditOf(field).Cut();
}

void TextField::Paste(QLineEdit& field) {
    if (FieldEdit& edit = EditOf(field); edit.Masked())
        edit.Paste(QClipboard::Clipboard);
    else
        field.paste();
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
    EditOf(field).KeepCaretInDigits();
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
