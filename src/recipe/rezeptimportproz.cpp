#include "recipe/rezeptimportproz.h"

#include "platform/codepage.h"
#include "platform/regularfile.h"
#include "recipe/quantities.h"

#include <algorithm>

namespace kovanta {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Appends an OEM field of the given width as ANSI, reading the part beyond the line's end as
// blanks and reducing every run of blanks to one (with what text already ends in).
void AppendCollapsed(std::string& text, std::string_view field, std::size_t width)
{
    const auto blank = [&text] {
        if (text.empty() || text.back() != ' ')
            text.push_back(' ');
    };
    for (const char c : field) {
        if (c == ' ')
            blank();
        else
            text.push_back(codepage::oemToAnsi(c));
    }
    if (field.size() < width)
        blank();
}

struct EntryFields {
    // OEM field texts as cut from their lines; shorter than the field where the line ended.
    std::string_view shortName;   // 20 columns
    std::string_view group;       // 20 columns
    std::string dateText;         // ANSI
    std::int32_t numbers[8] = {}; // NameNumber, Portions, AZ, WZ, kcal, kJ, BE, Chol
};

void AddEntry(const std::string& fileName, std::uint16_t fileNumber, std::uint16_t entryIndex,
              const EntryFields& fields, RecipeList& target)
{
    auto entry = std::make_unique<TImpListInfo>();
    entry->ShortName = codepage::oemToAnsi(TrimRight(fields.shortName));
    entry->GroupName = codepage::oemToAnsi(TrimRight(fields.group));
    entry->FileName = fileName;
    entry->FileNumber = fileNumber;
    entry->EntryIndex = entryIndex;
    entry->DateText = fields.dateText;
    entry->NameNumber = fields.numbers[0];
    entry->Portions = fields.numbers[1];
    entry->WorkMinutes = fields.numbers[2];
    entry->WaitMinutes = fields.numbers[3];
    entry->Kcal = fields.numbers[4];
    entry->KJ = fields.numbers[5];
    entry->BE = fields.numbers[6];
    entry->Chol = fields.numbers[7];

    // Short name + "/ " + group, the untrimmed fields, blank runs reduced to one.
    std::string text;
    text.reserve(44);
    AppendCollapsed(text, fields.shortName, 20);
    text += '/';
    AppendCollapsed(text, " ", 1);
    AppendCollapsed(text, fields.group, 20);
    target.push_back(RecipeListItem{std::move(text), std::move(entry)});
}

} // namespace

std::string_view Columns(std::string_view line, std::size_t first, std::size_t last)
{
    if (first < 1)
        first = 1;
    if (last < first || first > line.size())
        return {};
    return line.substr(first - 1, std::min(last, line.size()) - (first - 1));
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlankOrControl(text.front()))
        text.remove_prefix(1);
    return TrimRight(text);
}

std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && IsBlankOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

std::uint16_t FileNumberOf(std::string_view path)
{
    const auto slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return static_cast<std::uint16_t>(ParseIntField(Columns(name, 5, 8)));
}

std::string ExpandCompactArticleLine(std::string_view line)
{
    std::string out(line);
    if (out.size() >= 11 && out[0] == '*' && out[10] >= '0' && out[10] <= '9')
        out.insert(10, 7, ' ');
    return out;
}

IndexRead TRezeptImportProz::ReadRecipeIndex(const std::string& fileName, RecipeList& target) const
{
    const std::uint16_t fileNumber = FileNumberOf(fileName);
    auto file = RecipeFile::Open(fileName);
    if (!file)
        return IndexRead::Complete;
    RecipeTextReader reader(*file, kMaxIndexBytes);
    const std::size_t first = target.size();
    // A file the reader gave up on is no recipe file: none of its entries stay.
    const auto result = [&](IndexRead complete) {
        const RecipeTextReader::Stop stop = reader.Stopped();
        if (stop == RecipeTextReader::Stop::None)
            return complete;
        target.erase(target.begin() + static_cast<std::ptrdiff_t>(first), target.end());
        return stop == RecipeTextReader::Stop::LineTooLong ? IndexRead::LineTooLong
                                                           : IndexRead::TooLarge;
    };

    // Fields are cut from the lines as read (at most 255 characters); a field beyond a line's
    // end is shorter or empty, which reads as blanks: names are trimmed and numbers ignore
    // trailing blanks, and the few untrimmed texts are padded where they are built.
    std::string line;
    bool haveLine = reader.ReadLine(line);

    if (!line.empty() && (line[0] == '^' || line[0] == '.')) {
        while (haveLine && StartsWith(line, "."))
            haveLine = reader.ReadLine(line);
        // An index ends at "^^" even before its first entry: an empty index has no recipes.
        std::size_t count = 0;
        while (haveLine && !StartsWith(line, "^^") && count < kMaxIndexEntries) {
            ++count;
            // Only columns 2-65 belong to the list; kJ, BE and cholesterol are not in the index.
            EntryFields fields;
            fields.shortName = Columns(line, 2, 21);
            fields.group = Columns(line, 28, 47);
            fields.numbers[0] = ParseIntField(Columns(line, 22, 26));
            fields.numbers[1] = ParseIntField(Columns(line, 49, 53));
            fields.numbers[2] = ParseIntField(Columns(line, 54, 57));
            fields.numbers[3] = ParseIntField(Columns(line, 58, 61));
            fields.numbers[4] = ParseIntField(Columns(line, 62, 65));
            AddEntry(fileName, fileNumber, static_cast<std::uint16_t>(count), fields, target);
            haveLine = reader.ReadLine(line);
        }
        return result(haveLine && !StartsWith(line, "^^") ? IndexRead::Cut : IndexRead::Complete);
    }

    EntryFields fields;
    fields.dateText = codepage::oemToAnsi(Columns(line, 1, 10));
    fields.dateText.resize(10, ' ');
    const auto skipTo = [&reader](std::string& text, int n) {
        for (int i = 0; i < n; ++i)
            reader.ReadLine(text);
    };
    std::string line4, line5, value;
    skipTo(line4, 3);
    skipTo(line5, 1);
    fields.shortName = Columns(line4, 1, 20);
    fields.numbers[0] = ParseIntField(Columns(line4, 21, 25));
    fields.group = Columns(line5, 1, 20);
    skipTo(value, 3);
    fields.numbers[1] = ParseIntField(value); // line 8
    skipTo(value, 2);
    fields.numbers[2] = ParseIntField(value); // line 10; line 9 is not a value
    for (int i = 3; i < 8; ++i) {
        skipTo(value, 1);
        fields.numbers[i] = ParseIntField(value); // lines 11 to 15
    }
    AddEntry(fileName, fileNumber, 0, fields, target);
    return result(IndexRead::Complete);
}

std::optional<RecipeFile> TRezeptImportProz::OpenRecipe(const TImpListInfo& entry) const
{
    RecipeOpenError error = RecipeOpenError::None;
    return OpenRecipe(entry, error);
}

std::optional<RecipeFile> TRezeptImportProz::OpenRecipe(const TImpListInfo& entry,
                                                        RecipeOpenError& error) const
{
    error = RecipeOpenError::None;
    auto file = RecipeFile::Open(entry.FileName);
    if (!file) {
        error = RecipeOpenError::CannotOpen;
        return std::nullopt;
    }
    // The kind of file as the index reader tells it: by the first character.
    char first = 0;
    const bool listFile = file->Read(&first, 1) == 1 && (first == '^' || first == '.');
    file->Seek(0);
    if (listFile != (entry.EntryIndex != 0)) {
        error = RecipeOpenError::EntryNotHeld;
        return std::nullopt;
    }
    if (!listFile)
        return file;

    // The first line that is not a comment is the first index entry; every entry is 80 bytes.
    ReadRecipeLines(1, *file, false);
    const std::uint64_t afterFirst = file->Position();
    error = RecipeOpenError::EntryNotHeld;
    if (afterFirst < kIndexEntrySize)
        return std::nullopt;
    const std::uint64_t lineStart = afterFirst - kIndexEntrySize +
                                    (entry.EntryIndex - 1u) * kIndexEntrySize;
    if (lineStart + kIndexEntrySize > file->Size())
        return std::nullopt;
    // The line itself and the byte before it, which ends the line in front.
    char line[kIndexEntrySize + 1];
    const std::uint64_t from = lineStart == 0 ? 0 : lineStart - 1;
    file->Seek(from);
    const std::size_t want = static_cast<std::size_t>(lineStart - from + kIndexEntrySize);
    if (file->Read(line, want) != want)
        return std::nullopt;
    const std::string_view entryLine(line + (lineStart - from), kIndexEntrySize);
    const bool atLineStart = lineStart == 0 || line[0] == '\n';
    if (!atLineStart || entryLine[0] != '^' || entryLine[1] == '^' ||
        entryLine.substr(kIndexEntrySize - 2) != "\r\n")
        return std::nullopt;
    const std::int64_t offset = ParseIntField(entryLine.substr(70, 8));
    // An offset outside the file cannot name a block of it.
    if (offset < 0 || static_cast<std::uint64_t>(offset) + kBlockSkip > file->Size()) {
        error = RecipeOpenError::BadOffset;
        return std::nullopt;
    }
    error = RecipeOpenError::None;
    file->Seek(static_cast<std::uint64_t>(offset) + kBlockSkip);
    return file;
}

std::string TRezeptImportProz::ReadRawLine(RecipeFile& file) const
{
    const std::uint64_t start = file.Position();
    char buf[kMaxRawLine + 1];
    const std::size_t got = file.Read(buf, sizeof buf);
    for (std::size_t i = 0; i < got; ++i) {
        if (buf[i] == '\r') {
            // CR and the byte after it (the LF of CR LF) end the line.
            file.Seek(start + i + 2);
            return std::string(buf, i);
        }
        if (buf[i] == '\n') {
            file.Seek(start + i + 1);
            return std::string(buf, i);
        }
    }
    // No line end within reach: the line is split, and nothing of it is lost.
    const std::size_t len = std::min(got, kMaxRawLine);
    file.Seek(start + len);
    return std::string(buf, len);
}

std::string TRezeptImportProz::ReadRecipeLines(int n, RecipeFile& file, bool keepDotLines) const
{
    std::string line;
    for (int i = 0; i < n; ++i) {
        do {
            line = ReadRawLine(file);
        } while (!keepDotLines && !line.empty() && line[0] == '.');
    }
    line.append(kDetailPadding, ' ');
    return line;
}

std::string DescribeRecipeOpenError(const TRezeptImportProz& proz, const TImpListInfo& entry,
                                    RecipeOpenError error)
{
    const std::string index = std::to_string(entry.EntryIndex);
    switch (error) {
    case RecipeOpenError::None:
        return {};
    case RecipeOpenError::CannotOpen: {
        FileReadResult why;
        if (std::FILE* f = openRegularFile(entry.FileName, why))
            std::fclose(f);
        return why.ok() ? std::string("kann nicht gelesen werden") : describeReadError(why, 0);
    }
    case RecipeOpenError::BadOffset:
        return "hat einen beschädigten Index: Eintrag " + index + " zeigt hinter das Dateiende";
    case RecipeOpenError::EntryNotHeld:
        break;
    }
    // What the file holds, as the recipe list shows it.
    RecipeList held;
    proz.ReadRecipeIndex(entry.FileName, held);
    const bool listFile = held.empty() || held.front().Entry->EntryIndex != 0;
    std::string text = "hat keinen Eintrag " + index;
    if (!listFile)
        return text + " (ein einzelnes Rezept: Eintrag 0)";
    if (entry.EntryIndex != 0 && entry.EntryIndex <= held.size())
        // Listed, but not where 80-byte index lines would put it.
        return "hat einen beschädigten Index: Eintrag " + index + " steht nicht an seiner Stelle";
    if (held.empty())
        text += " (eine Rezeptliste ohne Einträge)";
    else if (held.size() == 1)
        text += " (eine Rezeptliste mit Eintrag 1)";
    else
        text += " (eine Rezeptliste mit den Einträgen 1 bis " + std::to_string(held.size()) + ")";
    return text;
}

} // namespace kovanta
