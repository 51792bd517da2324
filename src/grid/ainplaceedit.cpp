#include "grid/ainplaceedit.h"

#include "grid/astringgrid.h"
#include "grid/core/cellrules.h"
#include "grid/core/datetimeentry.h"
#include "grid/core/gridwidths.h"
#include "grid/gridevents.h"
#include "grid/stringgriddelegate.h"
#include "grid/stringgridinput.h"
#include "grid/stringgridlayout.h"
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

bool hasDigit(const std::string& text)
{
    return text.find_first_of("0123456789") != std::string::npos;
}

} // namespace

TAInplaceEdit::TAInplaceEdit(TAStringGrid* grid)
    : QLineEdit(grid->viewport()), grid_(grid), sync_(*this, *grid), numbers_(*this, *grid)
{
    setObjectName(QStringLiteral("InplaceEdit"));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFrame(grid->EditBorder);
    setAutoFillBackground(true);
    setBackground(StringGridDelegate::toQColor(grid->EditBgColor, palette()));
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
    if ((isDate() || isTime()) && !hasDigit(t))
        t.clear();
    return t;
}

void TAInplaceEdit::ReplaceText(const std::string& text)
{
    const int pos = cursorPosition();
    const int selStart = selectionStart();
    const int selLength = static_cast<int>(selectedText().size());
    setText(ansiToQString(text));
    if (selLength > 0)
        setSelection(selStart, selLength);
    else
        setCursorPosition(pos);
}

bool TAInplaceEdit::IsBirthDateColumn(int col)
{
    return grid_->OnIsGeburtsdatum && grid_->OnIsGeburtsdatum(this, col);
}

bool TAInplaceEdit::isNumber() const
{
    return isNumberEditArt(editArt_);
}

bool TAInplaceEdit::isDate() const
{
    return editArt_ == editart::Date;
}

bool TAInplaceEdit::isTime() const
{
    return editArt_ == editart::Time;
}

void TAInplaceEdit::setBackground(const QColor& colour)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, colour);
    setPalette(pal);
}

void TAInplaceEdit::SetEditArt(int editArt)
{
    editArt_ = editArt;
    if (isNumber())
        numbers_.setDecimals(editArt - editart::Number0);
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
    const bool rightAligned =
        isNumber() || editArt_ == editart::RightText || editArt_ == editart::MultiRight || isDate();
    setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    setContextMenuPolicy(isNumber() ? Qt::NoContextMenu : Qt::DefaultContextMenu);
    setFrame(grid_->EditBorder);
    numbers_.setMinusIgnore(grid_->MinusIgnore);
}

void TAInplaceEdit::LoadCell()
{
    grid_->input().setSelectionJustChanged(true);
    sync_.setBlocked(true);
    loading_ = true;
    if (widenedNextCol_ >= 0) {
        grid_->layout().refitAfterEditorWidening(widenedNextCol_);
        widenedNextCol_ = -1;
    }
    applyKindLook();
    setInputMask(QString());
    setMaxLength(32767);
    loadedCol_ = col_;
    loadedRow_ = row_;
    std::string text = grid_->GetCell(col_, row_);
    if (editArt_ == editart::Text) {
        setText(ansiToQString(text));
        setToolTip(QStringLiteral("Texteingabe"));
        selectAll();
    } else if (isDate()) {
        setInputMask(QString::fromLatin1(dateMask(grid_->Jahreszahl)));
        setMaxLength(dateMaxLength(grid_->Jahreszahl));
        if (const auto d = parseDate(text, todayDayNumber(), IsBirthDateColumn(col_)))
            text = formatDate(*d, grid_->Jahreszahl);
        setText(ansiToQString(text));
        setToolTip(ansiToQString(kDateHint));
    } else if (isTime()) {
        setInputMask(QString::fromLatin1(kTimeMask));
        setMaxLength(kTimeMaxLength);
        if (const auto t = parseTime(text))
            text = formatTime(*t);
        setText(ansiToQString(text));
        setToolTip(grid_->delegate().hintOf(col_, row_));
    } else if (isNumber()) {
        numbers_.load(text, col_, row_);
        setToolTip(grid_->delegate().hintOf(col_, row_));
    } else {
        setText(ansiToQString(text));
    }
    loading_ = false;
    // What the editor shows is what the cell holds (a number is stored formatted).
    writeToCell();
    escapeText_ = AnsiText();
    hasEscapeText_ = true;
    sync_.setBlocked(false);
    postGridItem(this, GridItem::AG_SYNC_CELL, 0);
}

void TAInplaceEdit::PlaceAt(const QRect& rect, bool moved)
{
    sync_.placed(moved);
    setGeometry(rect);
    baseWidth_ = rect.width();
    WidenToText();
}

void TAInplaceEdit::WidenToText(const QString& pending)
{
    if (baseWidth_ <= 0)
        return;
    const int widest = textLinesWidth(fontMetrics(), AnsiText() + qstringToAnsi(pending));
    const int needed = widest + grid::kCellTextMargins;
    if (needed > width()) {
        resize(needed, height());
        if (needed > baseWidth_)
            widenedNextCol_ = col_ + 1;
    }
}

bool TAInplaceEdit::event(QEvent* e)
{
    if (isGridItem(e)) {
        auto* item = static_cast<GridItemEvent*>(e);
        switch (item->item()) {
        case GridItem::AG_SYNC_CELL:
            sync_.sync(item->value1);
            break;
        case GridItem::AG_EXIT_CELL:
            sync_.exitCell(item->value1, item->value2 % 256, item->value2 / 256);
            break;
        case GridItem::AG_LEAVE_ROW:
            sync_.leaveRow(item->value1, item->value2 != 0);
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
            grid_->input().editorKey(ke);
            return true;
        }
    }
    return QLineEdit::event(e);
}

void TAInplaceEdit::keyPressEvent(QKeyEvent* e)
{
    int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
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
        grid_->input().editorKey(e);
        return;
    }
    if (key == Qt::Key_Escape) {
        if (hasEscapeText_)
            setText(ansiToQString(escapeText_));
        e->accept();
        postGridItem(this, GridItem::AG_SYNC_CELL, 0);
        return;
    }
    if (enter) {
        setCursorPosition(0);
        QCoreApplication::postEvent(
            grid_, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        postGridItem(this, GridItem::AG_SYNC_CELL, 0);
        return;
    }
    if ((isDate() || isTime()) && plainMods == 0 && dateTimeKey(e)) {
        postGridItem(this, GridItem::AG_SYNC_CELL, 0);
        return;
    }
    if (isNumber()) {
        if ((mods & Qt::ControlModifier) && key == Qt::Key_V)
            pasteClipboard();
        else if (!numbers_.keyPress(e))
            QLineEdit::keyPressEvent(e);
        postGridItem(this, GridItem::AG_SYNC_CELL, 0);
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
    postGridItem(this, GridItem::AG_SYNC_CELL, 0);
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
    if (isTime() && (c == '+' || c == '-') && !(e->modifiers() & Qt::KeypadModifier))
        return false;
    std::optional<std::string> result;
    if (isDate()) {
        result = applyDateKey(c, AnsiText(), todayDayNumber(), grid_->Jahreszahl,
                              IsBirthDateColumn(col_));
    } else {
        result = applyTimeKey(c, AnsiText(), nowMinutes());
    }
    if (!result)
        return false;
    setText(ansiToQString(*result));
    return true;
}

void TAInplaceEdit::pasteClipboard()
{
    const std::string clip = qstringToAnsi(QApplication::clipboard()->text());
    const std::string before = AnsiText();
    if (isNumber()) {
        numbers_.paste(clip);
    } else if (isDate()) {
        if (clip.size() >= 6 && clip[2] == '.' && clip[5] == '.') {
            if (const auto d = parseDate(clip, todayDayNumber(), IsBirthDateColumn(col_)))
                setText(ansiToQString(formatDate(*d, grid_->Jahreszahl)));
        }
    } else if (isTime()) {
        if (clip.size() >= 3 && clip[2] == ':') {
            if (const auto t = parseTime(clip))
                setText(ansiToQString(formatTime(*t)));
        }
    } else if (!isReadOnly()) {
        paste();
    }
    WidenToText();
    if (AnsiText() != before)
        postGridItem(this, GridItem::AG_SYNC_CELL, 0);
}

void TAInplaceEdit::updateValidityColour()
{
    bool valid = true;
    if (isDate())
        valid = parseDate(AnsiText(), todayDayNumber()).has_value();
    else if (isTime())
        valid = parseTime(AnsiText()).has_value();
    setBackground(valid ? QColor(Qt::white) : QColor(Qt::red));
}

void TAInplaceEdit::focusInEvent(QFocusEvent* e)
{
    if (grid_->AutoEditSelect)
        selectAll();
    QLineEdit::focusInEvent(e);
    if (grid_->AutoEditSelect)
        selectAll();
    if (isDate() || isTime()) {
        validityColouring_ = true;
        if (isDate() && grid_->VorgabeJetzt && !hasDigit(AnsiText()))
            setText(ansiToQString(formatDate(todayDayNumber(), grid_->Jahreszahl)));
        updateValidityColour();
    }
    focusText_ = AnsiText();
}

void TAInplaceEdit::focusOutEvent(QFocusEvent* e)
{
    if (isDate() || isTime()) {
        validityColouring_ = false;
        const std::string t = AnsiText();
        if (isDate()) {
            if (hasDigit(t) && !parseDate(t, todayDayNumber()).has_value())
                setText(grid_->VorgabeJetzt
                            ? ansiToQString(formatDate(todayDayNumber(), grid_->Jahreszahl))
                            : ansiToQString(focusText_));
        } else {
            const auto minutes = parseTime(t);
            if (minutes && *minutes == 0 && grid_->BlankNull)
                setText(QString());
            else if (!minutes && hasDigit(t))
                setText(ansiToQString(focusText_));
        }
    } else if (isNumber() && grid_->BlankNull) {
        // A zero is left blank, as it is painted; a text without digits (after cutting
        // everything) is no number and kept as it is.
        const std::string t = AnsiText();
        if (hasDigit(t) && isZeroValue(t)) {
            // Blanking a zero is no edit by the user: the row does not count as changed.
            const bool unchanged = sync_.unchangedSince(t);
            setText(QString());
            if (unchanged)
                sync_.takeAsSynchronised({});
        }
    }
    setBackground(StringGridDelegate::toQColor(grid_->EditBgColor, palette()));
    QLineEdit::focusOutEvent(e);
}

} // namespace kovanta
