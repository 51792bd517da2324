#include "grid/ainplaceedit.h"

#include "grid/astringgrid.h"
#include "grid/core/cellrules.h"
#include "grid/core/datetimeentry.h"
#include "grid/gridevents.h"
#include "platform/qt/ansiqstring.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kovanta {

using namespace grid;

namespace {

const char* const kDateHint = "Datumseingabe: H..Heute M..Morgen G..Gestern  +..n\xE4"
                              "chster Tag  -..voriger Tag";

bool isDateArt(int art)
{
    return art == editart::Date;
}

bool isTimeArt(int art)
{
    return art == editart::Time;
}

QString hintPart(const std::string& hint)
{
    return ansiToQString(hint).section(QLatin1Char('|'), 0, 0);
}

} // namespace

TAInplaceEdit::TAInplaceEdit(TAStringGrid* grid) : QLineEdit(grid->viewport()), grid_(grid)
{
    setObjectName(QStringLiteral("InplaceEdit"));
    entry_.setDecimals(2);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFrame(grid->EditBorder);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, QColor(grid->EditBgColor & 0xFF, (grid->EditBgColor >> 8) & 0xFF,
                                        (grid->EditBgColor >> 16) & 0xFF));
    setPalette(pal);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!loading_)
            writeToCell();
        if (validityColouring_)
            updateValidityColour();
    });
}

std::string TAInplaceEdit::AnsiText() const
{
    std::string t = qstringToAnsi(text());
    // An empty date or time mask holds only its separators: that is an empty cell.
    if ((isDateArt(editArt_) || isTimeArt(editArt_)) &&
        t.find_first_of("0123456789") == std::string::npos)
        t.clear();
    return t;
}

bool TAInplaceEdit::isNumber() const
{
    return isNumberEditArt(editArt_);
}

void TAInplaceEdit::SetEditArt(int editArt)
{
    editArt_ = editArt;
    if (isNumber())
        entry_.setDecimals(editArt - editart::Number0);
}

void TAInplaceEdit::SetCell(int col, int row)
{
    col_ = col;
    row_ = row;
}

void TAInplaceEdit::writeToCell()
{
    if (col_ > 0 && row_ > 0)
        grid_->SetCell(col_, row_, AnsiText());
}

void TAInplaceEdit::applyKindLook()
{
    const bool rightAligned = isNumber() || editArt_ == editart::RightText ||
                              editArt_ == editart::MultiRight || isDateArt(editArt_);
    setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    setContextMenuPolicy(isNumber() ? Qt::NoContextMenu : Qt::DefaultContextMenu);
    setFrame(grid_->EditBorder);
    entry_.setMinusIgnore(grid_->MinusIgnore);
}

void TAInplaceEdit::setHintFromCell()
{
    std::string hint = grid_->ColumnDefs().hintAt(col_);
    bool show = true;
    if (grid_->OnGetHintText)
        grid_->OnGetHintText(grid_, col_, row_, hint, show);
    setToolTip(show ? hintPart(hint) : QString());
}

void TAInplaceEdit::LoadCell()
{
    grid_->setSelectionJustChanged(true);
    blocked_ = true;
    loading_ = true;
    if (widenedNextCol_ >= 0) {
        grid_->refitAfterEditorWidening(widenedNextCol_);
        widenedNextCol_ = -1;
    }
    applyKindLook();
    setInputMask(QString());
    setMaxLength(32767);
    loadedCol_ = col_;
    loadedRow_ = row_;
    std::string text = grid_->GetCell(col_, row_);
    const int today = todayDayNumber();
    const bool birth = grid_->OnIsGeburtsdatum && grid_->OnIsGeburtsdatum(this, col_);
    if (editArt_ == editart::Text) {
        setText(ansiToQString(text));
        setToolTip(QStringLiteral("Texteingabe"));
        selectAll();
    } else if (isDateArt(editArt_)) {
        setInputMask(QString::fromLatin1(dateMask(grid_->Jahreszahl)));
        setMaxLength(dateMaxLength(grid_->Jahreszahl));
        if (const auto d = parseDate(text, today, birth))
            text = formatDate(*d, grid_->Jahreszahl);
        setText(ansiToQString(text));
        setToolTip(ansiToQString(kDateHint));
    } else if (isTimeArt(editArt_)) {
        setInputMask(QString::fromLatin1(kTimeMask));
        setMaxLength(kTimeMaxLength);
        if (const auto t = parseTime(text))
            text = formatTime(*t);
        setText(ansiToQString(text));
        setHintFromCell();
    } else if (isNumber()) {
        applyNumberLimits();
        entry_.load(text);
        text = entry_.text();
        // The entry enforces the typing limit itself; the edit control must never cut a longer
        // stored value or the sign put in front of a full one.
        setMaxLength(std::max(NumberEntry::kMaxLength, static_cast<int>(text.size())) + 1);
        setText(ansiToQString(text));
        const int len = static_cast<int>(text.size());
        setSelection(len - 1, -(len - 1));
        setHintFromCell();
    } else {
        setText(ansiToQString(text));
    }
    loading_ = false;
    // What the editor shows is what the cell holds (a number is stored formatted).
    writeToCell();
    escapeText_ = AnsiText();
    hasEscapeText_ = true;
    blocked_ = false;
    grid_->postItem(this, static_cast<int>(GridItem::AG_SYNC_CELL), 0);
}

void TAInplaceEdit::SyncCell(int mode)
{
    if (blocked_)
        return;
    const bool editable = grid_->CellEditableForSync();
    std::string text = AnsiText();
    if (mode == 2) {
        lastCol_ = col_;
        lastRow_ = row_;
        lastText_ = text;
        lastArt_ = editArt_;
        rowChanged_ = false;
        mode = 0;
    }
    if (lastCol_ == 0 || lastRow_ == 0) {
        lastCol_ = col_;
        lastRow_ = row_;
        lastText_.clear();
    }
    const bool sameCell = col_ == lastCol_ && row_ == lastRow_;
    if (editable && sameCell && text != lastText_)
        rowChanged_ = true;
    bool leave = false;
    int leaveRow = 0;
    bool leaveChanged = false;
    if (row_ != lastRow_ || mode != 0) {
        if (grid_->OnLeaveRowInput && lastRow_ >= TAStringGrid::FixedRows) {
            leave = true;
            leaveRow = lastRow_;
            leaveChanged = rowChanged_;
        }
        rowChanged_ = false;
    }
    if (editable && grid_->OnEditChange && lastRow_ >= TAStringGrid::FixedRows &&
        (text != lastText_ || !sameCell)) {
        std::string changed = text;
        grid_->OnEditChange(this, col_, row_, changed, !sameCell);
        if (changed != text) {
            const int pos = cursorPosition();
            const int selStart = selectionStart();
            const int selLength = static_cast<int>(selectedText().size());
            setText(ansiToQString(changed));
            if (selLength > 0)
                setSelection(selStart, selLength);
            else
                setCursorPosition(pos);
            text = changed;
        }
    }
    lastCol_ = col_;
    lastRow_ = row_;
    lastText_ = text;
    lastArt_ = editArt_;
    if (leave)
        grid_->postItem(this, static_cast<int>(GridItem::AG_LEAVE_ROW), leaveRow,
                        leaveChanged ? 1 : 0);
}

void TAInplaceEdit::ExitCell(int editArt, int col, int row)
{
    std::string text = grid_->GetCell(col, row);
    if (isDateArt(editArt)) {
        const bool birth = grid_->OnIsGeburtsdatum && grid_->OnIsGeburtsdatum(this, col);
        if (const auto d = parseDate(text, todayDayNumber(), birth))
            text = formatDate(*d, grid_->Jahreszahl);
    }
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    grid_->SetCell(col, row, text);
    if (grid_->OnExitEdit) {
        std::string changed = text;
        grid_->OnExitEdit(this, col, row, editArt, changed);
        if (changed != text)
            grid_->SetCell(col, row, changed);
    }
    if (grid_->AutoColResize)
        grid_->FitRowHeight(row);
}

void TAInplaceEdit::PlaceAt(const QRect& rect, bool moved)
{
    if (moved &&
        ((col_ != boundsCol_ || row_ != boundsRow_) || (col_ != lastCol_ || row_ != lastRow_))) {
        if (boundsCol_ != 0 || boundsRow_ != 0) {
            const int art = grid_->EditArtOf(boundsCol_, boundsRow_);
            grid_->postItem(this, static_cast<int>(GridItem::AG_EXIT_CELL), art,
                            boundsCol_ + boundsRow_ * 256);
        }
        boundsCol_ = col_;
        boundsRow_ = row_;
    }
    setGeometry(rect);
    baseWidth_ = rect.width();
    WidenToText();
}

void TAInplaceEdit::WidenToText(const QString& pending)
{
    if (baseWidth_ <= 0)
        return;
    int widest = 0;
    for (const std::string& line : splitLines(AnsiText() + qstringToAnsi(pending)))
        widest = std::max(widest, fontMetrics().horizontalAdvance(ansiToQString(line)));
    if (widest + 6 > width()) {
        resize(widest + 6, height());
        if (widest + 6 > baseWidth_)
            widenedNextCol_ = col_ + 1;
    }
}

bool TAInplaceEdit::event(QEvent* e)
{
    if (isGridItem(e)) {
        auto* item = static_cast<GridItemEvent*>(e);
        switch (item->item()) {
        case GridItem::AG_SYNC_CELL:
            SyncCell(item->value1);
            break;
        case GridItem::AG_EXIT_CELL:
            ExitCell(item->value1, item->value2 % 256, item->value2 / 256);
            break;
        case GridItem::AG_LEAVE_ROW:
            if (grid_->OnLeaveRowInput)
                grid_->OnLeaveRowInput(this, item->value1, item->value2 != 0);
            break;
        case GridItem::AG_SELECT_TO_END: {
            const int len = static_cast<int>(text().size());
            setSelection(len, -len);
            break;
        }
        default:
            break;
        }
        return true;
    }
    if (e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) {
            grid_->editorKey(ke);
            return true;
        }
    }
    return QLineEdit::event(e);
}

void TAInplaceEdit::setEntryText()
{
    setText(ansiToQString(entry_.text()));
    if (entry_.selLength() > 0)
        setSelection(entry_.selStart(), entry_.selLength());
    else
        setCursorPosition(entry_.selStart());
}

void TAInplaceEdit::keyPressEvent(QKeyEvent* e)
{
    int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool keypad = mods & Qt::KeypadModifier;
    const Qt::KeyboardModifiers plainMods = mods & ~Qt::KeypadModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;

    // Key down.
    if (editArt_ != editart::MultiLeft && !isReadOnly()) {
        if ((key == Qt::Key_Up || key == Qt::Key_Down) && grid_->OnCursorUpDown)
            grid_->OnCursorUpDown(this, key);
        else if (enter && grid_->OnReturnKeyDown)
            grid_->OnReturnKeyDown(this, col_, row_, key);
        if (key == 0)
            return;
    }
    // Movement between cells belongs to the grid.
    const bool atStart = cursorPosition() == 0 && !hasSelectedText();
    const bool atEnd = cursorPosition() == static_cast<int>(text().size()) && !hasSelectedText();
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
        key == Qt::Key_PageDown || (key == Qt::Key_Left && atStart && plainMods == 0) ||
        (key == Qt::Key_Right && atEnd && plainMods == 0)) {
        grid_->editorKey(e);
        return;
    }
    if (key == Qt::Key_Escape) {
        if (hasEscapeText_)
            setText(ansiToQString(escapeText_));
        e->accept();
        grid_->postItem(this, static_cast<int>(GridItem::AG_SYNC_CELL), 0);
        return;
    }
    if (enter) {
        setCursorPosition(0);
        QCoreApplication::postEvent(
            grid_, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        grid_->postItem(this, static_cast<int>(GridItem::AG_SYNC_CELL), 0);
        return;
    }
    if ((isDateArt(editArt_) || isTimeArt(editArt_)) && plainMods == 0 && dateTimeKey(e)) {
        grid_->postItem(this, static_cast<int>(GridItem::AG_SYNC_CELL), 0);
        return;
    }
    if (isNumber()) {
        const std::string typed = qstringToAnsi(e->text());
        numberKeyPress(e, typed.size() == 1 ? typed[0] : '\0');
        grid_->postItem(this, static_cast<int>(GridItem::AG_SYNC_CELL), 0);
        return;
    }
    if (editArt_ == editart::CheckBox && key == Qt::Key_T && (mods & Qt::ControlModifier)) {
        setText(text() == QStringLiteral("1") ? QStringLiteral("0") : QStringLiteral("1"));
    } else if (e->matches(QKeySequence::Paste)) {
        pasteClipboard();
        return;
    } else {
        QLineEdit::keyPressEvent(e);
    }
    WidenToText(e->text());
    grid_->postItem(this, static_cast<int>(GridItem::AG_SYNC_CELL), 0);
    (void)keypad;
}

bool TAInplaceEdit::dateTimeKey(QKeyEvent* e)
{
    const int key = e->key();
    char c = 0;
    if (key == Qt::Key_Delete)
        c = '\x7f';
    else if (key == Qt::Key_Plus)
        c = '+';
    else if (key == Qt::Key_Minus)
        c = '-';
    else if (key >= Qt::Key_A && key <= Qt::Key_Z)
        c = static_cast<char>('A' + (key - Qt::Key_A));
    if (c == 0)
        return false;
    // A time steps by a minute only with the numpad keys; the date takes both "+" keys.
    if (isTimeArt(editArt_) && (c == '+' || c == '-') && !(e->modifiers() & Qt::KeypadModifier))
        return false;
    std::optional<std::string> result;
    if (isDateArt(editArt_)) {
        const bool birth = grid_->OnIsGeburtsdatum && grid_->OnIsGeburtsdatum(this, col_);
        result = applyDateKey(c, AnsiText(), todayDayNumber(), grid_->Jahreszahl, birth);
    } else {
        result = applyTimeKey(c, AnsiText(), nowMinutes());
    }
    if (!result)
        return false;
    setText(ansiToQString(*result));
    return true;
}

void TAInplaceEdit::numberKeyPress(QKeyEvent* e, char typed)
{
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    const bool keypad = mods & Qt::KeypadModifier;
    const bool noMods = (mods & ~Qt::KeypadModifier) == 0;
    const bool ctrl = mods & Qt::ControlModifier;
    auto loadEntry = [this] {
        const int start = hasSelectedText() ? selectionStart() : cursorPosition();
        entry_.setState(AnsiText(), start, static_cast<int>(selectedText().size()));
    };
    loadEntry();

    // Key down.
    if (key >= Qt::Key_A && key <= Qt::Key_Z && !ctrl) {
        const char letter = static_cast<char>('A' + (key - Qt::Key_A));
        if (applyKeyCalc(entry_, letter, KeyCalc)) {
            setEntryText();
            return;
        }
        if (letter == 'R') {
            if (grid_->VemoCalc) {
                deselect();
                grid_->VemoCalc->Open(this, entry_.decimals());
            }
            return;
        }
    }
    if (key == Qt::Key_Delete) {
        entry_.deleteKey();
        setEntryText();
        return;
    }
    if (key == Qt::Key_Period && !keypad) {
        // The main keyboard's '.' stands for the decimal comma.
        QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Comma,
                                                        Qt::NoModifier, QStringLiteral(",")));
        return;
    }
    if ((key == Qt::Key_Comma) || (keypad && (key == Qt::Key_Period || key == Qt::Key_Comma))) {
        entry_.separatorKeyDown();
        typed = kDecimalSeparator;
    }
    if (noMods && keypad && key == Qt::Key_Plus) {
        entry_.numpadPlus();
        setEntryText();
        grid_->postItem(this, static_cast<int>(GridItem::AG_SELECT_TO_END));
        return;
    }
    if (noMods && keypad && key == Qt::Key_Minus) {
        const bool passOn = entry_.numpadMinus();
        grid_->postItem(this, static_cast<int>(GridItem::AG_SELECT_TO_END));
        if (!passOn) {
            setEntryText();
            return;
        }
        typed = '-';
    }

    // Key press: the fixed-point entry.
    if (ctrl && (key == Qt::Key_C || key == Qt::Key_X)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (ctrl && key == Qt::Key_V) {
        pasteClipboard();
        return;
    }
    if (key == Qt::Key_Backspace)
        typed = '\b';
    if (key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Left || key == Qt::Key_Right) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (typed == '\0')
        return;
    if (!entry_.keyPress(typed) && entry_.refusedAtLimit()) {
        QApplication::beep();
        emit inputRefused();
    }
    setEntryText();
    WidenToText();
}

void TAInplaceEdit::applyNumberLimits()
{
    double lowest = 0;
    double highest = 0;
    bool limited = false;
    if (grid_->OnGetMinMaxValue)
        grid_->OnGetMinMaxValue(grid_, col_, row_, lowest, highest, limited);
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

void TAInplaceEdit::pasteClipboard()
{
    const std::string clip = qstringToAnsi(QApplication::clipboard()->text());
    const std::string before = AnsiText();
    if (isNumber()) {
        entry_.setState(before, hasSelectedText() ? selectionStart() : cursorPosition(),
                        static_cast<int>(selectedText().size()));
        entry_.paste(clip);
        setEntryText();
    } else if (isDateArt(editArt_)) {
        if (clip.size() >= 6 && clip[2] == '.' && clip[5] == '.') {
            const bool birth = grid_->OnIsGeburtsdatum && grid_->OnIsGeburtsdatum(this, col_);
            if (const auto d = parseDate(clip, todayDayNumber(), birth))
                setText(ansiToQString(formatDate(*d, grid_->Jahreszahl)));
        }
    } else if (isTimeArt(editArt_)) {
        if (clip.size() >= 3 && clip[2] == ':') {
            if (const auto t = parseTime(clip))
                setText(ansiToQString(formatTime(*t)));
        }
    } else if (!isReadOnly()) {
        paste();
    }
    WidenToText();
    if (AnsiText() != before)
        grid_->postItem(this, static_cast<int>(GridItem::AG_SYNC_CELL), 0);
}

void TAInplaceEdit::updateValidityColour()
{
    bool valid = true;
    if (isDateArt(editArt_))
        valid = parseDate(AnsiText(), todayDayNumber()).has_value();
    else if (isTimeArt(editArt_))
        valid = parseTime(AnsiText()).has_value();
    QPalette pal = palette();
    pal.setColor(QPalette::Base, valid ? QColor(Qt::white) : QColor(Qt::red));
    setPalette(pal);
}

void TAInplaceEdit::focusInEvent(QFocusEvent* e)
{
    if (grid_->AutoEditSelect)
        selectAll();
    QLineEdit::focusInEvent(e);
    if (grid_->AutoEditSelect)
        selectAll();
    if (isDateArt(editArt_) || isTimeArt(editArt_)) {
        validityColouring_ = true;
        if (isDateArt(editArt_) && grid_->VorgabeJetzt &&
            !parseDate(AnsiText(), todayDayNumber()).has_value() &&
            AnsiText().find_first_of("0123456789") == std::string::npos)
            setText(ansiToQString(formatDate(todayDayNumber(), grid_->Jahreszahl)));
        updateValidityColour();
    }
    focusText_ = AnsiText();
}

void TAInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    if (isDateArt(editArt_) || isTimeArt(editArt_)) {
        validityColouring_ = false;
        const std::string t = AnsiText();
        if (isDateArt(editArt_)) {
            const bool empty = t.find_first_of("0123456789") == std::string::npos;
            if (!empty && !parseDate(t, todayDayNumber()).has_value())
                setText(grid_->VorgabeJetzt
                            ? ansiToQString(formatDate(todayDayNumber(), grid_->Jahreszahl))
                            : ansiToQString(focusText_));
        } else {
            const auto minutes = parseTime(t);
            if (minutes && *minutes == 0 && grid_->BlankNull)
                setText(QString());
            else if (!minutes && t.find_first_of("0123456789") != std::string::npos)
                setText(ansiToQString(focusText_));
        }
    } else if (isNumber() && grid_->BlankNull) {
        entry_.setState(AnsiText(), 0, 0);
        // A text that is no number at all (after cutting everything) is kept as it is.
        if (entry_.isZero() &&
            NumberEntry::format(AnsiText(), entry_.decimals()) ==
                NumberEntry::format("0", entry_.decimals()) &&
            !AnsiText().empty() && AnsiText().find_first_of("0123456789") != std::string::npos) {
            // Blanking a zero is no edit by the user: the row does not count as changed.
            const bool unchanged = col_ == lastCol_ && row_ == lastRow_ && lastText_ == AnsiText();
            setText(QString());
            if (unchanged)
                lastText_.clear();
        }
    }
    QPalette pal = palette();
    pal.setColor(QPalette::Base, QColor(grid_->EditBgColor & 0xFF, (grid_->EditBgColor >> 8) & 0xFF,
                                        (grid_->EditBgColor >> 16) & 0xFF));
    setPalette(pal);
    QLineEdit::focusOutEvent(e);
}

} // namespace kovanta
