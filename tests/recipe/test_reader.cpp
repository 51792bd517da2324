#include "recipe/quantities.h"
#include "recipe/recipe_fixture.h"
#include "recipe/rezeptimportproz.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovanta;
using fixture::Head;
using fixture::Join;

namespace {

class Reader : public ::testing::Test {
protected:
    RecipeList Index(const std::string& name, const std::string& bytes)
    {
        RecipeList list;
        proz.ReadRecipeIndex(dir.write(name, bytes), list);
        return list;
    }

    // Opens the entry and reads its block from line 1 to "^^" or the end, as the detail
    // readers do; the padding is removed again.
    std::vector<std::string> BlockLines(const TImpListInfo& entry)
    {
        std::vector<std::string> lines;
        auto file = proz.OpenRecipe(entry);
        if (!file)
            return lines;
        while (!file->AtEnd()) {
            std::string line = proz.ReadRecipeLines(1, *file, true);
            line.resize(line.size() - kDetailPadding);
            if (line.starts_with("^^"))
                break;
            lines.push_back(line);
        }
        return lines;
    }

    TestDir dir;
    TRezeptImportProz proz;
};

const std::vector<std::string> kBody = {fixture::Article("250", "1", "kg", "Rindfleisch"),
                                        fixture::Text("0005", "F\x81r den Teig:^")};

} // namespace

TEST(FileNumber, TakesCharactersFiveToEight)
{
    EXPECT_EQ(FileNumberOf("/x/REZ00042.DAT"), 42);
    EXPECT_EQ(FileNumberOf("REZ01234.DAT"), 1234);
    EXPECT_EQ(FileNumberOf("/x/REZEPT.DAT"), 0);
    EXPECT_EQ(FileNumberOf("/REZ00042.DAT/REZ1.DAT"), 0); // directory part ignored
    EXPECT_EQ(FileNumberOf("REZ.DAT"), 0);
    EXPECT_EQ(FileNumberOf("REZ1.DAT"), 0);
    EXPECT_EQ(FileNumberOf("rez9999.dat"), 999); // "999." without its dot
}

TEST_F(Reader, EmptyFileIsOneEmptyRecipe)
{
    const RecipeList list = Index("REZ00007.DAT", "");
    ASSERT_EQ(list.size(), 1u);
    const TImpListInfo& e = *list[0].Entry;
    EXPECT_EQ(e.EntryIndex, 0);
    EXPECT_EQ(e.FileNumber, 7);
    EXPECT_EQ(e.ShortName, "");
    EXPECT_EQ(e.GroupName, "");
    EXPECT_EQ(e.DateText, "          ");
    EXPECT_EQ(e.NameNumber + e.Portions + e.WorkMinutes + e.WaitMinutes + e.Kcal + e.KJ + e.BE +
                  e.Chol,
              0);
}

TEST_F(Reader, SingleRecipeFileGivesOneEntryFromItsHead)
{
    Head h;
    h.shortName = "Gulasch";
    h.group = "Fleisch \x8E"; // Ä in CP850
    const std::string path = dir.write("REZ00042.DAT", Join(fixture::Block(h, kBody)));
    RecipeList list;
    proz.ReadRecipeIndex(path, list);
    ASSERT_EQ(list.size(), 1u);
    const TImpListInfo& e = *list[0].Entry;
    EXPECT_EQ(e.FileName, path);
    EXPECT_EQ(e.FileNumber, 42);
    EXPECT_EQ(e.EntryIndex, 0);
    EXPECT_EQ(e.ShortName, "Gulasch");
    EXPECT_EQ(e.NameNumber, 123);
    EXPECT_EQ(e.GroupName, "Fleisch \xC4");
    EXPECT_EQ(e.DateText, "12.03.1998");
    EXPECT_EQ(e.Portions, 10);
    EXPECT_EQ(e.WorkMinutes, 30);
    EXPECT_EQ(e.WaitMinutes, 90);
    EXPECT_EQ(e.Kcal, 512);
    EXPECT_EQ(e.KJ, 2143);
    EXPECT_EQ(e.BE, 3);
    EXPECT_EQ(e.Chol, 80);
    EXPECT_EQ(e.InPlan, 0);
    EXPECT_EQ(list[0].Text, "Gulasch / Fleisch \xC4 ");
}

TEST_F(Reader, SingleRecipeFieldsBeyondShortLinesReadAsBlanks)
{
    // Three lines only; line 4 onwards is missing.
    const RecipeList list = Index("REZ00001.DAT", Join({"01.01.99", "x", "y"}));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Entry->DateText, "01.01.99  ");
    EXPECT_EQ(list[0].Entry->ShortName, "");
    EXPECT_EQ(list[0].Entry->Portions, 0);
    EXPECT_EQ(list[0].Entry->Chol, 0);
}

TEST_F(Reader, OverlongHeadLineKeepsFollowingLinesInPlace)
{
    // Only 255 characters of a line count; the rest of the line, up to the line bound, must
    // not become line 5.
    std::vector<std::string> lines = fixture::Block(Head{}, {});
    lines[3] = "Gulasch             00123" + std::string(RecipeTextReader::kMaxLineBytes - 25, 'x');
    const RecipeList list = Index("REZ00001.DAT", Join(lines));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Entry->NameNumber, 123);
    EXPECT_EQ(list[0].Entry->GroupName, "Fleisch");
    EXPECT_EQ(list[0].Entry->Portions, 10);
    EXPECT_EQ(list[0].Entry->Chol, 80);
}

TEST_F(Reader, LineEndsAndCtrlZ)
{
    Head h;
    const std::vector<std::string> lines = fixture::Block(h, {});
    std::string lf, cr;
    for (const std::string& l : lines) {
        lf += l + "\n";
        cr += l + "\r";
    }
    for (const std::string& bytes : {lf, cr}) {
        const RecipeList list = Index("REZ00001.DAT", bytes);
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].Entry->Portions, 10);
        EXPECT_EQ(list[0].Entry->Chol, 80);
    }
    // Ctrl-Z ends the file: what follows it is not read.
    std::string cut =
        Join({lines.begin(), lines.begin() + 8}) + "\x1A" + Join({lines.begin() + 8, lines.end()});
    const RecipeList list = Index("REZ00001.DAT", cut);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Entry->Portions, 10);
    EXPECT_EQ(list[0].Entry->WorkMinutes, 0);
    EXPECT_EQ(list[0].Entry->Chol, 0);
}

TEST_F(Reader, ListFileGivesOneEntryPerIndexLine)
{
    Head a, b, c;
    a.shortName = "Gulasch";
    b.shortName = "K\x84sesp\x84tzle"; // Käsespätzle
    b.kcal = 1234;
    b.kj = 9999;
    c.shortName = "Apfelstrudel";
    c.group = "Dessert";
    const std::string bytes = fixture::ListFile({".Rezeptliste Kantine", ".exportiert 1998"},
                                                {{a, kBody}, {b, kBody}, {c, kBody}});
    const std::string path = dir.write("REZ00100.DAT", bytes);
    RecipeList list;
    proz.ReadRecipeIndex(path, list);
    ASSERT_EQ(list.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const TImpListInfo& e = *list[i].Entry;
        EXPECT_EQ(e.EntryIndex, i + 1);
        EXPECT_EQ(e.FileNumber, 100);
        EXPECT_EQ(e.FileName, path);
        EXPECT_EQ(e.DateText, "");
        EXPECT_EQ(e.NameNumber, 123);
        EXPECT_EQ(e.Portions, 10);
        EXPECT_EQ(e.WorkMinutes, 30);
        EXPECT_EQ(e.WaitMinutes, 90);
        // Not in the index, whatever the line holds beyond column 65.
        EXPECT_EQ(e.KJ, 0);
        EXPECT_EQ(e.BE, 0);
        EXPECT_EQ(e.Chol, 0);
    }
    EXPECT_EQ(list[1].Entry->ShortName, "K\xE4sesp\xE4tzle");
    EXPECT_EQ(list[1].Entry->Kcal, 1234);
    EXPECT_EQ(list[2].Entry->GroupName, "Dessert");
    EXPECT_EQ(list[2].Text, "Apfelstrudel / Dessert ");
    EXPECT_FALSE(list[0].Entry->SameRecipe(*list[1].Entry));

    // Each entry opens at its own block.
    EXPECT_EQ(BlockLines(*list[1].Entry).at(3).substr(0, 12), "K\x84sesp\x84tzle ");
    const std::vector<std::string> third = BlockLines(*list[2].Entry);
    ASSERT_EQ(third.size(), 17u);
    EXPECT_EQ(third[3].substr(0, 12), "Apfelstrudel");
    EXPECT_EQ(third[16], kBody[1]);
}

TEST_F(Reader, ListFileIndexEdges)
{
    Head h;
    const std::string entry = fixture::IndexEntry(h, 0);
    struct Row {
        const char* what;
        std::string bytes;
        std::size_t entries;
    };
    const Row rows[] = {
        {"index without ^^ ends at end of file", Join({entry, entry}), 2},
        {"last entry without line end", Join({entry}) + entry, 2},
        {"empty index", Join({".nur Kommentar", "^^", "Gulasch"}), 0},
        {"comments only", Join({".a", ".b"}), 0},
        {"Ctrl-Z ends the index", Join({entry}) + "\x1A" + Join({entry, entry}), 1},
        {"^^ with more text still ends it", Join({entry, "^^^^^^", entry}), 1},
    };
    for (const Row& row : rows) {
        const RecipeList list = Index("REZ00001.DAT", row.bytes);
        EXPECT_EQ(list.size(), row.entries) << row.what;
    }
}

TEST_F(Reader, ListFileEntryCountIsCappedAndTheFullestIndexIsRead)
{
    // Entry lines at the longest that counts (255 characters): the fullest index the reader
    // takes, up to the line that tells it was cut, fills kMaxIndexBytes exactly.
    const std::string line = Join({fixture::Left(fixture::IndexEntry(Head{}, 0), 255)});
    std::string bytes;
    bytes.reserve(line.size() * (kMaxIndexEntries + 10));
    for (std::size_t i = 0; i < kMaxIndexEntries + 10; ++i)
        bytes += line;
    RecipeList list;
    EXPECT_EQ(proz.ReadRecipeIndex(dir.write("REZ00001.DAT", bytes), list), IndexRead::Cut);
    ASSERT_EQ(list.size(), kMaxIndexEntries);
    EXPECT_EQ(list.back().Entry->EntryIndex, 65535);
    // One comment line more and the index runs beyond the bound: no recipe file.
    EXPECT_EQ(proz.ReadRecipeIndex(dir.write("REZ00002.DAT", ".\r\n" + bytes), list),
              IndexRead::TooLarge);
    EXPECT_EQ(list.size(), kMaxIndexEntries);
}

// A line that runs on without end (a sparse file of 40 GB, made in an instant, taking no disk
// space) ends the read at its bound: the file adds nothing, entries of other files stay.
TEST_F(Reader, LineBeyondItsBoundMakesTheFileAddNothing)
{
    const std::string overlong(RecipeTextReader::kMaxLineBytes + 1, '7');
    const std::pair<std::string, off_t> rows[] = {
        {"", 40LL << 30},                                        // sparse single-recipe file
        {"^", 40LL << 30},                                       // sparse list file
        {Join(std::vector<std::string>(14, "1")) + overlong, 0}, // line 15
        {Join({fixture::IndexEntry(Head{}, 0)}) + overlong, 0},  // after an index entry
    };
    RecipeList list;
    proz.ReadRecipeIndex(dir.write("REZ00001.DAT", Join(fixture::Block(Head{}, kBody))), list);
    for (const auto& [bytes, sparseSize] : rows) {
        const std::string path = dir.write("REZ00002.DAT", bytes);
        ASSERT_TRUE(sparseSize == 0 || ::truncate(path.c_str(), sparseSize) == 0);
        EXPECT_EQ(proz.ReadRecipeIndex(path, list), IndexRead::LineTooLong) << bytes.size();
        EXPECT_EQ(list.size(), 1u);
    }
}

TEST_F(Reader, MissingOrUnreadableFilesAddNothing)
{
    RecipeList list;
    proz.ReadRecipeIndex(dir.dir() + "REZ00001.DAT", list);
    std::filesystem::create_directory(dir.path() / "REZ00002.DAT");
    proz.ReadRecipeIndex(dir.dir() + "REZ00002.DAT", list);
    proz.ReadRecipeIndex("", list);
    // A FIFO would block an open until someone writes to it: it is not a recipe file.
    ASSERT_EQ(::mkfifo((dir.dir() + "REZ00004.DAT").c_str(), 0600), 0);
    proz.ReadRecipeIndex(dir.dir() + "REZ00004.DAT", list);
    EXPECT_TRUE(list.empty());

    TImpListInfo gone;
    gone.FileName = dir.dir() + "REZ00003.DAT";
    EXPECT_FALSE(proz.OpenRecipe(gone).has_value());
}

// OpenRecipe finds only the entries a file holds: no index line read as a recipe, no block of
// another recipe, and the reason in words.
TEST_F(Reader, OpenRecipeFindsOnlyEntriesTheFileHolds)
{
    Head h;
    const std::string block = Join(fixture::Block(h, kBody));
    const auto withOffset = [&](const std::string& offsetField) {
        std::string entry = fixture::IndexEntry(h, 0);
        entry.replace(70, 8, offsetField);
        return Join({entry, "^^"}) + block;
    };
    const std::string list = fixture::ListFile({".Liste"}, {{h, kBody}, {h, kBody}, {h, kBody}});
    std::string lfOnly = list;
    for (std::size_t at = 0; (at = lfOnly.find("\r\n", at)) != std::string::npos;)
        lfOnly.erase(at, 1);
    const std::string kList = " (eine Rezeptliste mit den Einträgen 1 bis 3)";
    const struct {
        const char* what;
        std::string bytes; // empty: no file
        std::uint16_t entryIndex;
        RecipeOpenError error;
        std::string description;
    } rows[] = {
        {"entry 3 of 3", list, 3, RecipeOpenError::None, ""},
        {"no such file", "", 0, RecipeOpenError::CannotOpen, "nicht gefunden"},
        {"offset past the end", withOffset("99999999"), 1, RecipeOpenError::BadOffset,
         "hat einen beschädigten Index: Eintrag 1 zeigt hinter das Dateiende"},
        {"negative offset", withOffset("      -5"), 1, RecipeOpenError::BadOffset,
         "hat einen beschädigten Index: Eintrag 1 zeigt hinter das Dateiende"},
        {"entry 9 of 3, within the file", list, 9, RecipeOpenError::EntryNotHeld,
         "hat keinen Eintrag 9" + kList},
        {"entry 500, past the end of the file", list, 500, RecipeOpenError::EntryNotHeld,
         "hat keinen Eintrag 500" + kList},
        {"entry 0 of a list file", list, 0, RecipeOpenError::EntryNotHeld,
         "hat keinen Eintrag 0" + kList},
        {"entry 1 of a single-recipe file", block + block, 1, RecipeOpenError::EntryNotHeld,
         "hat keinen Eintrag 1 (ein einzelnes Rezept: Eintrag 0)"},
        {"index lines not 80 bytes (LF only)", lfOnly, 2, RecipeOpenError::EntryNotHeld,
         "hat einen beschädigten Index: Eintrag 2 steht nicht an seiner Stelle"},
        {"a first index line too short to count from", Join({"^kurz", "^^"}) + block, 1,
         RecipeOpenError::EntryNotHeld,
         "hat einen beschädigten Index: Eintrag 1 steht nicht an seiner Stelle"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TImpListInfo e;
        e.FileName = row.bytes.empty() ? dir.dir() + "REZ09999.DAT"
                                       : dir.write("REZ00001.DAT", row.bytes);
        e.EntryIndex = row.entryIndex;
        RecipeOpenError error = RecipeOpenError::CannotOpen;
        EXPECT_EQ(proz.OpenRecipe(e, error).has_value(), row.error == RecipeOpenError::None);
        EXPECT_EQ(error, row.error);
        EXPECT_EQ(DescribeRecipeOpenError(proz, e, error), row.description);
    }
}

TEST_F(Reader, OffsetIntoTheIndexStillEndsTheBlock)
{
    // Offset 0 points back at the index: the body read runs into "^^" and stops.
    Head h;
    const std::string index = Join({fixture::IndexEntry(h, 0), fixture::IndexEntry(h, 0), "^^"});
    const RecipeList list = Index("REZ00001.DAT", index + Join(fixture::Block(h, kBody)));
    ASSERT_EQ(list.size(), 2u);
    const std::vector<std::string> lines = BlockLines(*list[1].Entry);
    ASSERT_EQ(lines.size(), 2u); // the rest of entry 1 from byte 9, then entry 2
    EXPECT_EQ(lines[1], fixture::IndexEntry(h, 0));
}

TEST_F(Reader, RawLinesSplitAt127Characters)
{
    const std::string longLine(300, 'a');
    TImpListInfo e;
    e.FileName = dir.write("REZ00001.DAT", longLine + "\r\nzwei\r\n\r\ndrei\nvier\r");
    auto file = proz.OpenRecipe(e);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(proz.ReadRawLine(*file), std::string(127, 'a'));
    EXPECT_EQ(proz.ReadRawLine(*file), std::string(127, 'a'));
    EXPECT_EQ(proz.ReadRawLine(*file), std::string(46, 'a')); // nothing of the line is lost
    EXPECT_EQ(proz.ReadRawLine(*file), "zwei");
    EXPECT_EQ(proz.ReadRawLine(*file), "");
    EXPECT_EQ(proz.ReadRawLine(*file), "drei");
    EXPECT_EQ(proz.ReadRawLine(*file), "vier");
    EXPECT_TRUE(file->AtEnd());
    EXPECT_EQ(proz.ReadRawLine(*file), "");

    // A CR as the 128th byte still ends a 127-character line.
    e.FileName = dir.write("REZ00002.DAT", std::string(127, 'b') + "\r\nc\r\n");
    file = proz.OpenRecipe(e);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(proz.ReadRawLine(*file), std::string(127, 'b'));
    EXPECT_EQ(proz.ReadRawLine(*file), "c");
}

TEST_F(Reader, RecipeLinesPadAndSkipDotLines)
{
    // A list file: the file itself, as no entry would start at its first byte.
    auto file = RecipeFile::Open(dir.write("REZ00001.DAT", Join({".eins", ".zwei", "drei", ".vier"})));
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(proz.ReadRecipeLines(1, *file, false), "drei" + std::string(81, ' '));
    EXPECT_EQ(proz.ReadRecipeLines(1, *file, true), ".vier" + std::string(81, ' '));
    EXPECT_EQ(proz.ReadRecipeLines(1, *file, false), std::string(81, ' '));
    file->Seek(0);
    EXPECT_EQ(proz.ReadRecipeLines(2, *file, true), ".zwei" + std::string(81, ' '));
    // Dot lines only, without the flag: ends at the end of the file.
    file->Seek(0);
    proz.ReadRecipeLines(3, *file, false);
    EXPECT_TRUE(file->AtEnd());
}

TEST(CompactArticleLine, ReadsLikeTheFullLayout)
{
    const std::string full = fixture::Article("250", "1", "kg", "Rindfleisch");
    const std::string compact = fixture::Article("250", "0001", "kg", "Rindfleisch", true);
    ASSERT_EQ(compact[10], '0');
    const std::string expanded = ExpandCompactArticleLine(compact);
    EXPECT_EQ(Columns(expanded, 18, 21), "0001");
    EXPECT_EQ(Trim(Columns(expanded, 46, 53)), "kg");
    EXPECT_EQ(Trim(Columns(expanded, 79, 108)), "Rindfleisch");
    EXPECT_DOUBLE_EQ(LineQuantity(compact), 2.5);
    EXPECT_DOUBLE_EQ(LineQuantity(compact), LineQuantity(full));
    // Applying it again, or to lines it does not concern, changes nothing.
    EXPECT_EQ(ExpandCompactArticleLine(expanded), expanded);
    EXPECT_EQ(ExpandCompactArticleLine(full), full);
    EXPECT_EQ(ExpandCompactArticleLine(":0005Teig01"), ":0005Teig01");
}
