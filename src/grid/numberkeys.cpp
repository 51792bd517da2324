#include "grid/numberkeys.h"

#include "grid/ainplaceedit.h"
#include "grid/astringgrid.h"
#include "grid/gridevents.h"
#include "platform/qt/ansiqstring.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kovanta {

void NumberKeys::load(std::string_view cellText, int col, int row)
{
    applyLimits(col, row);
    entry_.load(cellText);
    const std::string& text = entry_.text();
    // The entry enforces the typing limit itself; the edit control must never cut a longer
    // stored value or the sign put in front of a full one.
    editor_.setMaxLength(std::max(grid::NumberEntry::kMaxLength, static_cast<int>(text.size())) +
                         1);
    editor_.setText(ansiToQString(text));
    const int len = static_cast<int>(text.size());
    editor_.setSelection(len - 1, -(len - 1));
}

void NumberKeys::applyLimits(int col, int row)
{
    double lowest = 0;
    double highest = 0;
    bool limited = false;
    if (grid_.OnGetMinMaxValue)
        grid_.OnGetMinMaxValue(&grid_, col, row, lowest, highest, limited);
    if (!limited) {
        entry_.clearLimits();
        return;
    }
    // The entry counts in units of the last decimal place; keep far from int64's edges.
    const double unit = std::pow(10.0, entry_.decimals());
    const auto units = [unit](double v) {
        return static_cast<std::int64_t>(std::clamp(std::round(v * unit), -1e17, 1e17));
    };
    entry_.setLimits(units(lowest), units(highest));
}

void NumberKeys::takeEditorState()
{
    const int start =
        editor_.hasSelectedText() ? editor_.selectionStart() : editor_.cursorPosition();
    entry_.setState(editor_.AnsiText(), start, static_cast<int>(editor_.selectedText().size()));
}

void NumberKeys::show()
{
    editor_.setText(ansiToQString(entry_.text()));
    if (entry_.selLength() > 0)
        editor_.setSelection(entry_.selStart(), entry_.selLength());
    else
        editor_.setCursorPosition(entry_.selStart());
}

bool NumberKeys::keyPress(QKeyEvent* e)
{
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool keypad = mods & Qt::KeypadModifier;
    const bool noMods = (mods & ~Qt::KeypadModifier) == 0;
    const bool ctrl = mods & Qt::ControlModifier;
    const std::string typedText = qstringToAnsi(e->text());
    char typed = typedText.size() == 1 ? typedText[0] : '\0';
    takeEditorState();

    // Key down.
    if (key >= Qt::Key_A && key <= Qt::Key_Z && !ctrl) {
        const char letter = static_cast<char>('A' + (key - Qt::Key_A));
        if (applyKeyCalc(entry_, letter, editor_.KeyCalc)) {
            show();
            return true;
        }
        if (letter == 'R') {
            if (grid_.VemoCalc) {
                editor_.deselect();
                grid_.VemoCalc->Open(&editor_, entry_.decimals());
            }
            return true;
        }
    }
    if (key == Qt::Key_Delete) {
        entry_.deleteKey();
        show();
        return true;
    }
    if (key == Qt::Key_Period && !keypad) {
        // The main keyboard's '.' stands for the decimal comma.
        QCoreApplication::postEvent(&editor_, new QKeyEvent(QEvent::KeyPress, Qt::Key_Comma,
                                                            Qt::NoModifier, QStringLiteral(",")));
        return true;
    }
    if ((key == Qt::Key_Comma) || (keypad && (key == Qt::Key_Period || key == Qt::Key_Comma))) {
        entry_.separatorKeyDown();
        typed = grid::kDecimalSeparator;
    }
    if (noMods && keypad && key == Qt::Key_Plus) {
        entry_.numpadPlus();
        show();
        postGridItem(&editor_, GridItem::AG_SELECT_TO_END);
        return true;
    }
    if (noMods && keypad && key == Qt::Key_Minus) {
        const bool passOn = entry_.numpadMinus();
        postGridItem(&editor_, GridItem::AG_SELECT_TO_END);
        if (!passOn) {
            show();
            return true;
        }
        typed = '-';
    }

    // Key press: the fixed-point entry.
    if ((ctrl && (key == Qt::Key_C || key == Qt::Key_X)) || key == Qt::Key_Home ||
        key == Qt::Key_End || key == Qt::Key_Left || key == Qt::Key_Right)
        return false;
    if (key == Qt::Key_Backspace)
        typed = '\b';
    if (typed == '\0')
        return true;
    if (!entry_.keyPress(typed) && entry_.refusedAtLimit()) {
        QApplication::beep();
        emit editor_.inputRefused();
    }
    show();
    editor_.WidenToText();
    return true;
}

void NumberKeys::paste(std::string_view clipboard)
{
    takeEditorState();
    entry_.paste(clipboard);
    show();
}

} // namespace kovanta
