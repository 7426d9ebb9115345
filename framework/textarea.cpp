#include "textarea.h"

#include "qtconvert.h"

#include <QFocusEvent>
#include <QTextEdit>

namespace {

// A text area that can hide its selection while another control, or another
// window, has the focus. A menu takes the focus only while the user chooses
// from it, and the selection stays on show.
class AreaWidget : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

    void SetHideSelection(bool hide) {
        hideSelection_ = hide;
        if (!hide)
            ShowSelection(true);
    }

protected:
    void focusInEvent(QFocusEvent* event) override {
        ShowSelection(true);
        QTextEdit::focusInEvent(event);
    }

    void focusOutEvent(QFocusEvent* event) override {
        QTextEdit::focusOutEvent(event);
        const Qt::FocusReason reason = event->reason();
        if (hideSelection_ && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
            ShowSelection(false);
    }

private:
    // Qt draws the selection of an area without the focus in the inactive
    // colours: hiding it makes them those of the plain text.
    void ShowSelection(bool shown) {
        if (shown != selectionHidden_)
            return;
        QPalette colours = palette();
        if (shown) {
            colours.setBrush(QPalette::Inactive, QPalette::Highlight, highlight_);
            colours.setBrush(QPalette::Inactive, QPalette::HighlightedText, highlightedText_);
        } else {
            highlight_ = colours.brush(QPalette::Inactive, QPalette::Highlight);
            highlightedText_ = colours.brush(QPalette::Inactive, QPalette::HighlightedText);
            colours.setBrush(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
            colours.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                             colours.brush(QPalette::Inactive, QPalette::Text));
        }
        selectionHidden_ = !shown;
        setPalette(colours);
    }

    bool hideSelection_ = false;
    bool selectionHidden_ = false;
    QBrush highlight_;
    QBrush highlightedText_;
};

} // namespace

const ClassRecord TextArea::kClassRecord{"TextArea", "RectControl", {}};

QWidget* TextArea::CreateWidget(QWidget* parent) {
    auto* area = new AreaWidget(parent);
    area->setAcceptRichText(false);
    return area;
}

std::string TextArea::Text() const {
    QString text = WidgetAs<QTextEdit>().toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return ToStdString(text);
}

void TextArea::SetText(const std::string& text) {
    // Qt breaks paragraphs at line feeds; CR LF counts as one break.
    QString plain = ToQString(text);
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    WidgetAs<QTextEdit>().setPlainText(plain);
}

void TextArea::SetProperty(std::string_view name, const PropertyValue& value) {
    auto& area = WidgetAs<QTextEdit>();
    if (name == "Value")
        SetText(std::string(StringValue(name, value)));
    else if (name == "ReadOnly")
        area.setReadOnly(BooleanValue(name, value));
    else if (name == "HasBorder")
        area.setFrameShape(BooleanValue(name, value) ? QFrame::StyledPanel : QFrame::NoFrame);
    else if (name == "BackgroundColor")
        SetPaletteColor(area, QPalette::Base, ColorValue(name, value));
    else if (name == "TextColor")
        SetPaletteColor(area, QPalette::Text, ColorValue(name, value));
    else if (name == "Hint")
        area.setPlaceholderText(ToQString(StringValue(name, value)));
    else if (name == "TextAlignment")
        area.document()->setDefaultTextOption(
            QTextOption(ToQtAlignment(IntegerValue(name, value)) & Qt::AlignHorizontal_Mask));
    else if (name == "AllowStyledText")
        area.setAcceptRichText(BooleanValue(name, value));
    else if (name == "AllowTabs")
        area.setTabChangesFocus(!BooleanValue(name, value));
    else if (name == "HasVerticalScrollbar")
        area.setVerticalScrollBarPolicy(BooleanValue(name, value) ? Qt::ScrollBarAsNeeded
                                                                  : Qt::ScrollBarAlwaysOff);
    else if (name == "HasHorizontalScrollbar") {
        // Without a horizontal scroll bar, long lines wrap.
        const bool scrolls = BooleanValue(name, value);
        area.setHorizontalScrollBarPolicy(scrolls ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        area.setLineWrapMode(scrolls ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
    } else if (name == "MaximumCharactersAllowed") {
        if (IntegerValue(name, value) != 0)
            throw OutOfBoundsException("A text area takes no length limit");
    } else if (name == "ValidationMask" || name == "Format") {
        if (!StringValue(name, value).empty())
            throw UnsupportedFormatException("A text area takes no mask or format");
    } else if (name == "HideSelection")
        WidgetAs<AreaWidget>().SetHideSelection(BooleanValue(name, value));
    else if (name == "Multiline" || name == "AllowSpellChecking") {
        // A text area is always multi-line, and Qt has no spelling checker.
        BooleanValue(name, value);
    } else if (name == "LineHeight") {
        if (IntegerValue(name, value) != 0)
            throw OutOfBoundsException("A text area keeps its font's own line height (0)");
    } else if (name == "LineSpacing") {
        if (DoubleValue(name, value) != 1.0)
            throw OutOfBoundsException("A text area keeps single line spacing (1.0)");
    } else
        RectControl::SetProperty(name, value);
}
