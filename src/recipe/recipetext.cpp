#include "recipe/recipetext.h"

#include "platform/codepage.h"
#include "platform/strings.h"
#include "recipe/quantities.h"

#include <utility>

namespace kovanta {

namespace {

constexpr char kCaret = '^';
constexpr std::string_view kExclMark = "(!)";

bool EndsWith(std::string_view text, char c)
{
    return !text.empty() && text.back() == c;
}

// File text as the preview shows it: ANSI, and no control character that would break the one
// line a paragraph stands for (a stray byte in a file must not split a paragraph in two). TAB
// stays, it is how the columns line up.
std::string PreviewText(std::string_view oem)
{
    std::string out = codepage::oemToAnsi(oem);
    blankControls(out, true);
    return out;
}

// File text as a print grid cell: ANSI, every control character (TAB included) a blank, since
// a cell is printed as one line of one column.
std::string CellText(std::string_view oem)
{
    std::string out = codepage::oemToAnsi(oem);
    blankControls(out);
    return out;
}

// One marker of TextMarkers: its 1-based position, its bytes and its code.
struct Marker {
    std::size_t position;
    std::string_view bytes;
    std::uint16_t code;
};

constexpr Marker kMarkers[] = {
    {57, "\xE0", 1}, {59, "\xE3", 2}, {60, "\xF7", 3}, {61, "\xFE", 4},
    {62, "\xEE", 5}, {63, "\xAD", 6}, {64, "ca", 7},
};

struct HeadLines {
    std::string lines[8]; // head lines 1-8 as read (padded)
};

HeadLines ReadHead(const TRezeptImportProz& proz, RecipeFile& file)
{
    HeadLines head;
    for (std::string& line : head.lines)
        line = proz.ReadRecipeLines(1, file, true);
    return head;
}

// Calls onLine for every body line, in file order, up to the "^^" line or the end of the file,
// but for no more than kMaxBodyLines lines. True when the body went on beyond them.
template <typename OnLine>
bool ForEachBodyLine(const TRezeptImportProz& proz, RecipeFile& file, OnLine&& onLine)
{
    std::size_t count = 0;
    while (!file.AtEnd()) {
        const std::string line = proz.ReadRecipeLines(1, file, true);
        if (line.compare(0, 2, "^^") == 0)
            break;
        if (count == kMaxBodyLines)
            return true;
        ++count;
        onLine(line);
    }
    return false;
}

struct ArticleFields {
    std::string quantity; // QuantityText, already ANSI (digits and comma)
    std::string_view unit;
    std::string_view article;
};

ArticleFields CutArticle(const std::string& expanded, double factor)
{
    return {QuantityText(ExpandedLineQuantity(expanded), factor), Trim(Columns(expanded, 46, 53)),
            Trim(Columns(expanded, 79, 108))};
}

// The black line of a text line: tab, text, tab, value ("ca." in front when the markers say
// so); bold when the text is a label.
TextParagraph PlainTextLine(std::string text, std::string_view value, std::uint16_t markerWord)
{
    TextParagraph p;
    p.bold = IsLabelText(text);
    p.text = '\t' + PreviewText(text) + '\t';
    if (ShowsCirca(markerWord))
        p.text += "ca.";
    p.text += PreviewText(Trim(value));
    return p;
}

void AddTextLine(std::vector<TextParagraph>& out, const std::string& line)
{
    const std::string_view value = Columns(line, 2, 5);
    const std::string_view text = Trim(Columns(line, 6, 71));

    std::string t(text);
    t += '\t';
    t += value;
    const std::size_t fullLength = t.size();

    // The preview's own alternative flag: it changes nothing that is shown.
    bool alternative = false;
    std::string segment = SplitCaretSegment(t, alternative);

    std::string clean(text);
    const std::uint16_t markerWord = TextMarkers(clean);

    if (segment.empty()) {
        out.push_back(PlainTextLine(std::move(clean), value, markerWord));
        return;
    }

    std::string before;
    while (!segment.empty()) {
        TextParagraph p;
        p.color = kTextBlue;
        p.text = "\t\t" + PreviewText(segment);
        out.push_back(std::move(p));
        before = t;
        segment = SplitCaretSegment(t, alternative);
    }
    if (t.empty())
        return;

    // The segments stopped at a label or an alternative word: the rest of the line from that
    // word on would otherwise be lost, so it follows as a plain line. `before` is a suffix of
    // the text + tab + value; markers only blank bytes and trim the end, so offsets into the
    // text hold for the cleaned text too.
    const std::size_t start = fullLength - before.size();
    std::string rest = start < clean.size() ? std::string(Trim(clean.substr(start))) : "";
    out.push_back(PlainTextLine(std::move(rest), value, markerWord));
}

} // namespace

// ---------------------------------------------------------------------------------------------

std::string StripExclMark(std::string_view text)
{
    std::string out(text);
    const auto pos = out.find(kExclMark);
    if (pos != std::string::npos)
        out.erase(pos, kExclMark.size());
    return out;
}

bool IsLabelText(std::string& text)
{
    const auto pos = text.find(kCaret);
    if (pos == std::string::npos || pos + 1 != text.size())
        return false;
    text = std::string(Trim(std::string_view(text).substr(0, pos)));
    return EndsWith(text, ':');
}

std::string SplitCaretSegment(std::string& text, bool& alternative)
{
    const auto pos = text.find(kCaret);
    if (pos == std::string::npos) {
        text.clear();
        return {};
    }
    std::string segment(Trim(std::string_view(text).substr(0, pos)));
    text.erase(0, pos + 1);
    if (segment.empty() || EndsWith(segment, ':'))
        return {};
    if (IsAlternativeWord(segment)) {
        if (!alternative && AnsiEqualsIgnoreCase(segment, "oder"))
            alternative = true;
        return {};
    }
    return segment;
}

std::uint16_t TextMarkers(std::string& text)
{
    text = std::string(Trim(text));
    const std::size_t n = text.size();
    std::uint16_t word = 0;
    for (const Marker& m : kMarkers) {
        const std::size_t last = m.position + m.bytes.size() - 1;
        // The original length decides whether a position is looked at; the current one
        // whether it can still match (an earlier marker may have shortened the text).
        if (n < last || text.size() < last)
            continue;
        if (text.compare(m.position - 1, m.bytes.size(), m.bytes) != 0)
            continue;
        word |= m.code;
        text.replace(m.position - 1, m.bytes.size(), m.bytes.size(), ' ');
        text = std::string(Trim(text));
    }
    return word;
}

std::string RecipeHeading(std::string_view line1, std::string_view line2, std::string_view line3)
{
    std::string out(Trim(line3));
    out += " (";
    out += Trim(line2);
    out += ") vom ";
    out += Trim(line1);
    return out;
}

const std::vector<int>& PreviewTabStops()
{
    static const std::vector<int> stops = [] {
        std::vector<int> s = {10, 20, 30, 260};
        for (int i = 4; i <= 20; ++i)
            s.push_back(100 * i);
        return s;
    }();
    return stops;
}

bool FillPreviewRich(const TRezeptImportProz& proz, const TImpListInfo& entry, RecipeText& target,
                     std::int32_t requestedPortions, RecipeOpenError* error)
{
    RecipeOpenError why = RecipeOpenError::None;
    auto file = proz.OpenRecipe(entry, error ? *error : why);
    if (!file)
        return false;

    RecipeText doc;
    doc.tabStops = PreviewTabStops();
    auto& out = doc.paragraphs;
    const auto add = [&out](std::string text, int size = 8, bool bold = false,
                            TextColor color = kTextBlack) {
        out.push_back(TextParagraph{std::move(text), size, bold, color});
    };

    const HeadLines head = ReadHead(proz, *file);
    add(PreviewText(RecipeHeading(head.lines[0], head.lines[1], head.lines[2])));
    add({});
    std::string names = "Rezept: ";
    names += PreviewText(Trim(Columns(head.lines[3], 1, 20)));
    names += ",   Gruppe: ";
    names += PreviewText(Trim(Columns(head.lines[4], 1, 20)));
    add(std::move(names));
    add({});

    for (const std::string& line : {head.lines[5], head.lines[6]}) {
        std::string description = PreviewText(StripExclMark(Trim(Columns(line, 1, 40))));
        if (!description.empty())
            add(std::move(description), 12, true);
    }

    const std::int32_t stored = ParseIntField(head.lines[7]);
    const double factor = ScaleFactor(stored, requestedPortions);
    add(PortionsLine(stored, factor));
    add({});

    const bool cut = ForEachBodyLine(proz, *file, [&](const std::string& line) {
        if (line[0] == '*') {
            const std::string expanded = ExpandCompactArticleLine(line);
            const ArticleFields a = CutArticle(expanded, factor);
            std::string text = "\t\t" + a.quantity + ' ' + PreviewText(a.unit);
            text += ' ';
            text += PreviewText(a.article);
            add(std::move(text), 8, false, kTextNavy);
        } else if (line[0] == ':') {
            AddTextLine(out, line);
        }
    });
    if (cut)
        add(kCutNotice);

    target = std::move(doc);
    return true;
}

std::string PlainText(const RecipeText& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.paragraphs.size(); ++i) {
        if (i > 0)
            out += '\n';
        out += text.paragraphs[i].text;
    }
    for (char& c : out) {
        if (c == '\xA0')
            c = ' ';
    }
    return out;
}

const std::string& PrintGrid::Cell(int col, int row) const
{
    static const std::string empty;
    if (col < 0 || col >= kColumns || row < 0 || row >= RowCount())
        return empty;
    return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

bool FillPrintGrid(const TRezeptImportProz& proz, const TImpListInfo& entry, PrintGrid& target,
                   std::int32_t requestedPortions, RecipeOpenError* error)
{
    RecipeOpenError why = RecipeOpenError::None;
    auto file = proz.OpenRecipe(entry, error ? *error : why);
    if (!file)
        return false;

    PrintGrid grid;
    grid.rows.resize(5);
    const HeadLines head = ReadHead(proz, *file);
    grid.rows[1] = {"", CellText(TrimRight(head.lines[0])), CellText(Trim(head.lines[1])),
                    CellText(Trim(head.lines[2]))};
    grid.rows[2] = {"", CellText(Columns(head.lines[3], 1, 20)),
                    CellText(Columns(head.lines[4], 1, 20)), ""};
    grid.rows[3] = {"", CellText(Columns(head.lines[5], 1, 40)),
                    CellText(Columns(head.lines[6], 1, 40)), ""};
    const std::int32_t stored = ParseIntField(head.lines[7]);
    const double factor = ScaleFactor(stored, requestedPortions);
    grid.rows[4] = {"", std::to_string(ScaledPortions(stored, factor)), "", ""};

    const bool cut = ForEachBodyLine(proz, *file, [&](const std::string& line) {
        PrintGrid::Row row;
        row[0] = CellText(line.substr(0, 1));
        if (line[0] == '*') {
            const std::string expanded = ExpandCompactArticleLine(line);
            const ArticleFields a = CutArticle(expanded, factor);
            row[1] = a.quantity;
            row[2] = CellText(a.unit);
            row[3] = CellText(a.article);
        } else if (line[0] == ':') {
            row[1] = CellText(Trim(Columns(line, 6, 71)));
            row[2] = CellText(Columns(line, 2, 5));
        } else {
            row[1] = CellText(Trim(line));
        }
        grid.rows.push_back(std::move(row));
    });
    if (cut)
        grid.rows.push_back({"", kCutNotice, "", ""});

    target = std::move(grid);
    return true;
}

} // namespace kovanta
