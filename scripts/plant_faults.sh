#!/usr/bin/env bash
# Plants known faults in Velk, one at a time, and reports which tests catch
# each. Works on a copy of this working tree with its own build folder, so the
# tree itself is never touched. Not run by CI: it builds and tests once per
# fault.
#   scripts/plant_faults.sh            every fault
#   scripts/plant_faults.sh 3 7        only faults 3 and 7
# VELK_FAULT_DIR     the copy and its build (default /tmp/velk-faults), kept
#                    between runs so that each build is an incremental one
# VELK_FAULT_CTEST   more ctest options for every run, e.g. "--repeat until-pass:2"
# VELK_FAULT_JOBS    parallel jobs for building and testing (default 3)
# VELK_FAULT_ALL=1   runs every test on every fault, the slow one too
set -euo pipefail
cd "$(dirname "$0")/.."

# Each fault is three entries: the file, a text found there exactly once, and
# the text put in its place. "\n" in either text stands for a line break.
faults=(
    # The application.
    windows/controlwnd.cpp 'kLowestReliability = 0.0001;' 'kLowestReliability = 0.001;'
    windows/controlwnd.cpp 'reliability > kHighestReliability' 'reliability >= kHighestReliability'
    windows/controlwnd.cpp '"Reliability for Test B must range from .0001 to .9999"' '"Reliability for Test B must range from .0001 to 1"'
    windows/controlwnd.cpp 'Sqrt(a * b)' 'Sqrt(a * a)'
    windows/controlwnd.cpp '    NotNil(field).SetText("");\n' ''
    windows/controlwnd.cpp '    NotNil(BFld()).SetText("");\n' ''
    windows/controlwnd.cpp 'NotNil(ControlMenuItem()).SetEnabled(false);' 'NotNil(ControlMenuItem()).SetEnabled(true);'
    windows/controlwnd.cpp '    NotNil(instance::Qwindow()).Show();\n' ''
    windows/controlwnd.cpp 'Quit(0);' 'Quit(1);'
    windows/controlwnd.cpp 'void ControlWnd::Event_Activate() {\n    NotNil(instance::AboutWnd()).Hide();' 'void ControlWnd::Event_Activate() {'
    windows/aboutwnd.cpp '{4000}' '{400}'
    windows/aboutwnd.cpp 'bool AboutWnd::Event_KeyDown(const std::string&) {\n    DismissSplash();' 'bool AboutWnd::Event_KeyDown(const std::string&) {'
    menus/menu.cpp '"Quit", "Cmd+Q"' '"Quit", "Cmd+W"'
    app/filetypes.cpp '"R*ch"' '"R*CH"'
    windows/qwindow.cpp '{"Title", String{"Formula"}}' '{"Title", String{"Formel"}}'
    resources/texts.h '".587. As' '".578. As'
    # The framework.
    framework/conversions.cpp "decimalPart[decimals] >= '5'" "decimalPart[decimals] > '5'"
    framework/conversions.cpp 'negative = text[i++] == '"'"'-'"'"';' 'negative = false; ++i;'
    framework/msgbox.cpp 'box.exec();' 'box.show();'
    framework/window.cpp 'if (!d_->defaultButton.lock())\n' ''
    framework/window.cpp '    widget.setWindowState(widget.windowState() & ~Qt::WindowMinimized);\n' ''
    framework/control.cpp 'moved.setWidth(moved.width() + dx);' '{}'
    framework/window.cpp '        d_->widget->setMaximumSize(d_->maximumWidth, withMenu(d_->maximumHeight));\n' ''
    framework/control.cpp 'policy = Qt::StrongFocus;' 'policy = Qt::ClickFocus;'
    framework/timer.cpp 'timer.setSingleShot(d_->runMode == kRunModeSingle);' 'timer.setSingleShot(false);'
    framework/runtime.cpp '    QApplication::exit(code);\n' ''
    framework/runtime.cpp '    } catch (const std::exception& exception) {\n        // The handler failed' '    } catch (const std::logic_error& exception) {\n        // The handler failed'
    framework/runtime.cpp '        finalizer();\n' ''
    framework/menuitem.cpp 'const bool editable = !edit->isReadOnly();' 'const bool editable = true;'
    framework/menuitem.cpp 'QStringLiteral("Ctrl+")' 'QStringLiteral("Alt+")'
    framework/menuitem.cpp 'd_->visible && !d_->text.empty()' 'd_->visible'
    framework/canvas.cpp 'QPainter painter(this);' 'return;\n        QPainter painter(this);'
    framework/filetype.cpp '    registered_ = true;\n' ''
    # Start-up and the splash timer.
    windows/aboutwnd.cpp 'Timer>&) {\n    DismissSplash();' 'Timer>&) {\n    if (GetImplicitWindow(ControlWnd::kClassRecord.name))\n        return;\n    DismissSplash();'
    windows/aboutwnd.cpp 'Timer>&) {\n    DismissSplash();' 'Timer>&) {\n    NotNil(instance::AboutWnd()).Hide();'
    windows/aboutwnd.cpp '{"RunMode", Integer{1}}' '{"RunMode", Integer{2}}'
    windows/aboutwnd.cpp '{4000}' '{5000}'
    framework/runtime.cpp 'State().exitCode = QApplication::exec();' 'QApplication::exec();'
    framework/runtime.cpp '    if (!NoDisplay())\n        PassHeldMessagesOn();\n    else if' '    if'
    framework/runtime.cpp 'else if (display && *display)' 'else if (display)'
    framework/runtime.cpp 'if (!NoDisplay())' 'if (true)'
    framework/window.cpp '            keepAlive = window_.shared_from_this();' '            const auto keepAlive = window_.shared_from_this();'
    framework/conversions.cpp 'exponent = std::min(exponent * 10 + (text[j] - '"'"'0'"'"'), kExponentLimit);' 'exponent = exponent * 10 + (text[j] - '"'"'0'"'"');'
    framework/conversions.cpp '            if (leadingZeros)\n                --power;\n' ''
    framework/timer.cpp '        DispatchEvent([this] {\n            // Whatever the handler does, this timer lives until it returns.\n            const auto keepAlive = shared_from_this();\n            CallAction();\n        });' '        const auto keepAlive = shared_from_this();\n        DispatchEvent([this] { CallAction(); });'
    # The masked field.
    framework/textfield.cpp 'event.text() == QLatin1String(".") || event.text() == QLatin1String(",")' 'event.text() == QLatin1String(".")'
    framework/textfield.cpp '^(0*)(?:[.,]([0-9]*))?$' '^(0*)(?:[.]([0-9]*))?$'
    framework/textfield.cpp '^(0*)(?:[.,]' '^([01]?0*)(?:[.,]'
    framework/textfield.cpp 'const QString shown = selectedText().remove(QLatin1Char('"'"' '"'"'));' 'const QString shown = selectedText();'
    framework/textfield.cpp 'return std::ranges::any_of(shown, [](QChar sign) { return sign.isDigit(); }) ? shown' 'return !shown.isEmpty() ? shown'
    framework/textfield.cpp '(Masked() ? !PastedNumber(pasted).isNull() : !pasted.isEmpty())' '!pasted.isEmpty()'
    framework/textfield.cpp '        if (event->matches(QKeySequence::Copy))\n            return Copy();\n' ''
    framework/textfield.cpp '        if (event->matches(QKeySequence::Cut))\n            return Cut();\n' ''
    framework/textfield.cpp '        connect(this, &QLineEdit::selectionChanged, this, &FieldEdit::KeepCaretInDigits);\n' ''
    framework/textfield.cpp 'TakeOver(*actions.at(5)' 'TakeOver(*actions.at(6)'
    framework/textfield.cpp 'TakeOver(*actions.at(4), copies,' 'TakeOver(*actions.at(4), true,'
    framework/textfield.cpp 'reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||' 'reason == Qt::TabFocusReason ||'
    framework/textfield.cpp 'event->button() == Qt::MiddleButton &&' 'event->button() == Qt::RightButton &&'
    framework/textfield.cpp 'mask.size() < 2 || !std::isgraph(literal)' '!std::isgraph(literal)'
    framework/textfield.cpp 'literal == '"'"';'"'"' || mask.find_first_not_of('"'"'#'"'"', 1) != std::string::npos' 'mask.find_first_not_of('"'"'#'"'"', 1) != std::string::npos'
    framework/textfield.cpp '!std::isgraph(literal) || std::isalnum(literal)' 'std::isalnum(literal)'
    framework/menuitem.cpp 'return !TextField::CopiedText(field).isEmpty();' 'return field.hasSelectedText();'
    framework/menuitem.cpp 'return TextField::TakesPaste(field);' 'return !field.isReadOnly();'
    framework/menuitem.cpp '    TextField::Copy(field);' '    field.copy();'
    framework/menuitem.cpp '    TextField::Cut(field);' '    field.cut();'
    framework/window.cpp 'event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter' 'event->key() == Qt::Key_Return'
    framework/window.cpp '(event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier' 'event->modifiers() == Qt::NoModifier'
    framework/textfield.cpp 'return Paste(QClipboard::Selection);' 'return Paste(QClipboard::Clipboard);'
    framework/menuitem.cpp 'itemName == "EditPaste" && editable && CanPaste(*edit)' 'itemName == "EditPaste" && editable'
    framework/textfield.cpp 'static bool IsDecimalSign(const QKeyEvent& event) {\n        return' 'static bool IsDecimalSign(const QKeyEvent& event) {\n        return !event.modifiers().testFlag(Qt::KeypadModifier) &&'
    framework/textfield.cpp 'std::clamp<int>(cursorPosition(), 1, text().size())' 'std::clamp<int>(cursorPosition(), 0, text().size())'
    framework/textfield.cpp 'TakeOver(*actions.at(3), copies,' 'TakeOver(*actions.at(3), true,'
    framework/textfield.cpp 'if (const QString copied = CopiedText(); !copied.isEmpty())' 'if (const QString copied = CopiedText(); true)'
    framework/textfield.cpp '            clipboard.setText(shown, QClipboard::Selection);\n' '            return;\n'
    # The menus: captions, the bar's keyboard title, the help text's name.
    framework/captions.cpp '((line && !line->isReadOnly()) || (area && !area->isReadOnly()))' '(line || area)'
    framework/captions.cpp '        case QEvent::MouseButtonDblClick:\n' ''
    framework/captions.cpp '            if (now == &caption_)\n                HandOn(old, Qt::OtherFocusReason);\n' ''
    framework/captions.cpp 'caption.setFocusPolicy(Qt::NoFocus);' 'caption.setFocusPolicy(Qt::ClickFocus);'
    framework/captions.cpp 'place.top() <= caption.bottom()' 'place.bottom() <= caption.bottom()'
    framework/captions.cpp 'content.window()->windowTitle()' 'content.windowTitle()'
    framework/menuitem.cpp 'QStyle::State_Selected | QStyle::State_Sunken;' 'QStyle::State_Selected;'
    framework/menuitem.cpp 'hasFocus() && action == activeAction()' 'hasFocus() && action == actions().value(1)'
    framework/menuitem.cpp '        if (hasFocus() && !activeAction())\n            clearFocus();\n' ''
    # Window placement.
    framework/window.cpp 'QRect frame(QPoint(), widget.size() + margins);' 'QRect frame(QPoint(), widget.size());'
    framework/window.cpp '    frame.moveRight(std::min(frame.right(), available.right()));\n' ''
    framework/window.cpp '    frame.moveBottom(std::min(frame.bottom(), available.bottom()));\n' ''
    framework/window.cpp 'available.bottom()));' 'available.bottom() + 1));'
    framework/window.cpp '    widget.resize(widget.size().boundedTo(available.size() - margins));\n' ''
    framework/window.cpp '    if (!d_->placed) {' '    if (true) {'
    framework/window.cpp 'window_.PlaceAgainOnceFramed();' '{}'
    framework/window.cpp '    d_->awaitingFrame = false;\n' ''
    framework/window.cpp '    frame.moveLeft(std::max(frame.left(), available.left()));\n' ''
    framework/window.cpp 'QPoint(titleBar, titleBar)' 'QPoint(titleBar, titleBar / 2)'
)

dir=${VELK_FAULT_DIR:-/tmp/velk-faults}
jobs=${VELK_FAULT_JOBS:-3}
read -r -a ctest_options <<<"${VELK_FAULT_CTEST:-}"
count=$((${#faults[@]} / 3))
chosen=("$@")
[ ${#chosen[@]} -gt 0 ] || mapfile -t chosen < <(seq 1 "$count")

# Brings the copy level with the working tree, tracked and new files alike.
sync_copy() {
    local file
    while IFS= read -r -d '' file; do
        cmp -s "$file" "$dir/src/$file" && continue
        mkdir -p "$dir/src/$(dirname "$file")"
        cp "$file" "$dir/src/$file"
    done < <(git ls-files -z --cached --others --exclude-standard)
}

# Replaces the one occurrence of a text in a file; fails when there is not
# exactly one.
plant() { # file, text, replacement
    python3 - "$dir/src/$1" "$2" "$3" <<'PYTHON'
import sys
path, find, put = sys.argv[1], *(s.replace("\\n", "\n") for s in sys.argv[2:])
text = open(path).read()
if text.count(find) != 1:
    sys.exit(f"found {text.count(find)} times, not once")
open(path, "w").write(text.replace(find, put))
PYTHON
}

# Prints "passes", "does not build", or the tests and the test functions
# that failed. tst_everyinput, the slow one, runs only when the others pass,
# unless VELK_FAULT_ALL=1 asks for every test at once.
build_and_test() { # log file
    cmake --build "$dir/build" -j "$jobs" >"$1" 2>&1 || { echo "does not build"; return; }
    local stages=("-E tst_everyinput" "-R tst_everyinput")
    [ "${VELK_FAULT_ALL:-0}" = 1 ] && stages=("")
    local stage
    for stage in "${stages[@]}"; do
        # shellcheck disable=SC2086 # the stage is two words
        ctest --test-dir "$dir/build" -j "$jobs" --timeout 600 $stage "${ctest_options[@]}" \
            >>"$1" 2>&1 && continue
        local failed functions
        failed=$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) .*/\1/p' "$1" | sort -u | tr '\n' ' ')
        functions=$(grep -ho 'FAIL!  : [^(]*' "$dir/build/Testing/Temporary/LastTest.log" |
            sed 's/FAIL!  : [^:]*:://' | sort -u | tr '\n' ' ')
        echo "caught by ${failed}(${functions% })"
        return
    done
    echo "passes"
}

sync_copy
cmake -S "$dir/src" -B "$dir/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
clean=$(VELK_FAULT_ALL=1 build_and_test "$dir/clean.log")
if [ "$clean" != passes ]; then
    echo "without faults the tests do not pass ($clean); see $dir/clean.log" >&2
    exit 1
fi

for n in "${chosen[@]}"; do
    file=${faults[3 * (n - 1)]}
    find=${faults[3 * (n - 1) + 1]}
    put=${faults[3 * (n - 1) + 2]}
    printf '%2d %s: %s -> %s\n   ' "$n" "$file" "$find" "${put:-(nothing)}"
    cp "$dir/src/$file" "$dir/unplanted"
    if error=$(plant "$file" "$find" "$put" 2>&1); then
        result=$(build_and_test "$dir/fault$n.log")
        echo "${result/#passes/NOT CAUGHT: every test passes}"
    else
        echo "not planted: $error"
    fi
    cat "$dir/unplanted" >"$dir/src/$file" # the text as it was, newer than the build
done
