#include "support/fslimit.h"
#include "support/testdir.h"
#include "webformat/livetags.h"
#include "webformat/webrecipe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace kovanta;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> linesOf(std::string_view bytes)
{
    LiveLineReader reader(bytes);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line))
        lines.push_back(line);
    return lines;
}

struct ClassifyCase {
    std::string line;
    TLiveTag code;
    std::string value;
};

} // namespace

TEST(ClassifyLiveLine, TagsEntitiesAndUntaggedLines)
{
    const ClassifyCase cases[] = {
        {"<live-daten>Gulasch", ltDaten, "Gulasch"},
        {" <LIVE-DATEN>Gulasch", ltNone, " <LIVE-DATEN>Gulasch"},
        {"<LIVE-DATEN>", ltDaten, ""},
        {"<LIVE-DATEN>K&auml;se", ltDaten, "K\xE4se"},
        {"<LIVE-DATEN>Ma&szlig;e", ltDaten,
         "Ma\xDF"
         "e"},
        {"<LIVE-DATEN>Salz &amp; Pfeffer", ltDaten, "Salz  Pfeffer"},
        {"<LIVE-DATEN>Salz & Pfeffer", ltDaten, "Salz "},
        {"<LIVE-DATEN>a&nbsp;&nbsp;b", ltDaten, "a  b"},
        {"<LIVE-DATEN>&AUML;", ltDaten, ""},
        {"<LIVE-REZEPT>r1.txt Gulasch vom Rind", ltRezept, "r1.txt Gulasch vom Rind"},
        {"<LIVE-BILD>bild1.jpg", ltBild, "bild1.jpg"},
        {"<LIVE-INFO>x", ltInfo, "x"},
        {"<Live-Version>2.1", ltVersion, "2.1"},
        {"<LIVE-DATUM>01.02.2026", ltDatum, "01.02.2026"},
        {"<LIVE-FILE>plan.htm", ltFile, "plan.htm"},
        {"<LIVE-LINK>http://x/", ltLink, "http://x/"},
        {"<LIVE-DATEN>  Rinderbrust  ", ltDaten, "  Rinderbrust  "},
        {"<LIVE-DATEN>&Auml;&Ouml;&Uuml;&ouml;&uuml;", ltDaten, "\xC4\xD6\xDC\xF6\xFC"},
        {"<LIVE-DATEN>&auml", ltDaten, ""},       // no ";": the rest is lost
        {"<LIVE-DATEN>x&;y", ltDaten, "xy"},      // empty entity
        {"<LIVE-DATEN>a&&b;c", ltDaten, "ac"},    // second "&" is part of the dropped entity
        {"<LIVE-DATEN>trail&", ltDaten, "trail"}, // "&" at the very end
        {"<LIVE-DATE>Gulasch", ltNone, "<LIVE-DATE>Gulasch"},
        {"<LIVE-DATEN", ltNone, "<LIVE-DATEN"},
        {"", ltNone, ""},
        // Only ASCII letters fold: an ANSI "ä" must not be mistaken for a letter of the tag.
        {"<L\xC4VE-DATEN>x", ltNone, "<L\xC4VE-DATEN>x"},
        {std::string("<LIVE-DATEN>a\0b", 15), ltDaten, std::string("a\0b", 3)},
    };
    for (const ClassifyCase& c : cases) {
        std::string line = c.line;
        EXPECT_EQ(ClassifyLiveLine(line), c.code) << c.line;
        EXPECT_EQ(line, c.value) << c.line;
    }
}

TEST(DecodeEntities, LeavesTextWithoutAmpersandByteForByte)
{
    const std::string bytes = "Rind\xE4\x80\x81\t;ende";
    EXPECT_EQ(DecodeEntities(bytes), bytes);
    // The tag is cut before decoding: entity text in the tag area is not seen.
    std::string line = "<LIVE-REZEPT>r&auml;1.txt K&auml;se&nbsp;sp&auml;tzle";
    EXPECT_EQ(ClassifyLiveLine(line), ltRezept);
    EXPECT_EQ(line, "r\xE4"
                    "1.txt K\xE4se sp\xE4tzle");
}

TEST(LiveLineReader, LineEndsAndEndOfFile)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(linesOf(""), V{});
    EXPECT_EQ(linesOf("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(linesOf("a\rb\r"), (V{"a", "b"}));
    EXPECT_EQ(linesOf("a\r\n\r\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(linesOf("a\nb\nc"), (V{"a\nb\nc"})); // a lone LF stays in the line
    EXPECT_EQ(linesOf("a\n\rb"), (V{"a\n", "b"}));
    EXPECT_EQ(linesOf("a\r\nb\x1A\r\nc\r\n"), (V{"a", "b"})); // Ctrl-Z ends the file
    EXPECT_EQ(linesOf("a\r\n\x1A"), (V{"a"}));
    EXPECT_EQ(linesOf("\x1A"
                      "a\r\n"),
              V{});
    EXPECT_EQ(linesOf("\r\n"), (V{""}));
}

TEST(LinkSplitAndBase, AsTheImportUsesThem)
{
    struct {
        std::string value, name, title;
    } const splits[] = {
        {"r1.txt Gulasch vom Rind", "r1.txt", "Gulasch vom Rind"},
        {"r1.txt", "r1.txt", ""},
        {"r1.txt  Zwei Blanks", "r1.txt", " Zwei Blanks"},
        {"r1.txt ", "r1.txt", ""},
        {" Titel", "", "Titel"},
        {"", "", ""},
    };
    for (const auto& s : splits) {
        const LiveLink link = SplitLiveLink(s.value);
        EXPECT_EQ(link.name, s.name) << s.value;
        EXPECT_EQ(link.title, s.title) << s.value;
    }
    EXPECT_EQ(LinkBase("http://kantine.example/plaene/woche12.htm"),
              "http://kantine.example/plaene/");
    EXPECT_EQ(LinkBase("http://kantine.example/"), "http://kantine.example/");
    EXPECT_EQ(LinkBase("http://kantine.example"), "http://");
    EXPECT_EQ(LinkBase("plan.htm"), "");
    EXPECT_EQ(SchemeOf("HTTP://x/"), LinkScheme::Http);
    EXPECT_EQ(SchemeOf("File:///rezepte/"), LinkScheme::File);
    EXPECT_EQ(SchemeOf("Https://x/"), LinkScheme::Http);
    EXPECT_EQ(SchemeOf("http:/"), LinkScheme::Other);
    EXPECT_EQ(ChangeFileExt("/rezepte/kovanta/rez1a.tmp", ".dat"), "/rezepte/kovanta/rez1a.dat");
    EXPECT_EQ(ChangeFileExt("/rezepte/k.d/rez1a", ".dat"), "/rezepte/k.d/rez1a.dat");

    // The links of a page, relative to the page's directory and fetched the way it says; a
    // plan from a link without a path makes its names host names.
    struct {
        std::string page;
        std::string url;
        LinkScheme scheme;
    } const links[] = {
        {"HTTP://kantine.example/woche/r6.txt", "HTTP://kantine.example/woche/r7.txt",
         LinkScheme::Http},
        {"http://kantine.example", "http://r7.txt", LinkScheme::Http},
        {"file:///rezepte/plan.htm", "file:///rezepte/r7.txt", LinkScheme::File},
        {"https://kantine.example/p.htm", "https://kantine.example/r7.txt", LinkScheme::Http},
    };
    for (const auto& l : links) {
        const std::vector<ResolvedLink> resolved = ResolveLinks({"r1.txt", "r7.txt Rotkohl"}, l.page);
        ASSERT_EQ(resolved.size(), 2u);
        EXPECT_EQ(resolved[1].url, l.url);
        EXPECT_EQ(resolved[1].title, "Rotkohl");
        EXPECT_EQ(resolved[1].scheme, l.scheme) << l.page;
        EXPECT_EQ(resolved[1].number, 2u);
        EXPECT_EQ(resolved[1].count, 2u);
    }
}

// A published recipe page with markup around the tagged lines: the data lines become the
// recipe file, converted to the DOS code page, CR LF after each line, empty lines kept.
TEST(ConvertWebRecipe, WritesDataLinesAsOemRecipeFile)
{
    TestDir dir;
    const std::string page = "<html><body><pre>\r\n"
                             "<LIVE-INFO>Kovanta Webrezept\r\n"
                             "<LIVE-DATEN>REZEPT\r\n"
                             "<p>Zwischentext</p>\r\n"
                             "<LIVE-DATEN>\r\n"
                             "<live-daten>K&auml;sesp&auml;tzle \x80 \xE9\r\n"
                             "<LIVE-BILD>spaetzle.jpg\r\n"
                             "<LIVE-DATEN>Ende\n"
                             "</pre></body></html>";
    const std::string in = dir.write("rez1f.tmp", page);
    const std::string out = dir.dir() + "rez1f.dat";
    const WebRecipeResult r = ConvertWebRecipe(in, out);
    EXPECT_TRUE(r.recipeWritten);
    EXPECT_TRUE(r.links.empty());
    // ä = 0x84 and é = 0x82 in CP850; € has no CP850 character and becomes "E".
    EXPECT_EQ(readAll(out),
              "REZEPT\r\n\r\nK\x84sesp\x84tzle E \x82\r\nEnde\n</pre></body></html>\r\n");
}

TEST(ConvertWebRecipe, MenuPlanWithoutDataLeavesNoFile)
{
    TestDir dir;
    const std::string in = dir.write("plan.tmp", "<LIVE-REZEPT>r1.txt Gulasch\r\n"
                                                 "<LIVE-REZEPT>r2.txt\r\n"
                                                 "<LIVE-REZEPT>r3.txt  Kn&ouml;del\r\n");
    const WebRecipeResult r = ConvertWebRecipe(in, dir.dir() + "plan.dat");
    EXPECT_FALSE(r.recipeWritten);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "plan.dat"));
    EXPECT_EQ(r.links, (std::vector<std::string>{"r1.txt Gulasch", "r2.txt",
                                                 "r3.txt  Kn\xF6"
                                                 "del"}));
}

TEST(ConvertWebRecipe, UncreatableOutputIsRetriedAndReportedAsNoRecipe)
{
    TestDir dir;
    const std::string out = dir.dir() + "fehlt/rez.dat";
    EXPECT_FALSE(ConvertWebRecipeBytes("<LIVE-DATEN>a\r<LIVE-DATEN>b\r", out).recipeWritten);
    EXPECT_FALSE(std::filesystem::exists(out));

    // Creation is tried again for every data line; once it works the later lines land.
    DataFileWriter writer(out);
    writer.WriteDataLine("verloren");
    EXPECT_FALSE(writer.IsOpen());
    std::filesystem::create_directory(dir.path() / "fehlt");
    writer.WriteDataLine("zweite");
    EXPECT_TRUE(writer.IsOpen());
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(readAll(out), "zweite\r\n");
}

// A full disk while the recipe file is written (simulated in a child process with a file size
// limit): the previous file of that name stays as it was, and nothing else is left behind.
TEST(ConvertWebRecipe, FullDiskKeepsThePreviousRecipeFile)
{
    TestDir dir;
    const std::string out = dir.write("rez1f.dat", "voriges Rezept\r\n");
    std::string page;
    for (int i = 0; i < 2000; ++i)
        page += "<LIVE-DATEN>Zeile, die auf keinen Datentr&auml;ger mehr passt\r\n";
    const std::optional<bool> reportedCorrectly = inChildWithFileSizeLimit(4096, [&] {
        const WebRecipeResult r = ConvertWebRecipeBytes(page, out);
        return r.hasDataLines && !r.recipeWritten &&
               r.outputError == "kann nicht geschrieben werden (Datei zu groß)";
    });
    EXPECT_EQ(reportedCorrectly, std::optional<bool>(true));
    EXPECT_EQ(readAll(out), "voriges Rezept\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

// The output named may be anything; what is no regular file is never written, replaced or
// removed (the writer once removed /dev/full when a write to it failed).
TEST(ConvertWebRecipe, OutputThatIsNoRegularFileIsLeftAlone)
{
    TestDir dir;
    const std::string pipe = dir.dir() + "rohr.dat";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path() / "verzeichnis.dat");
    for (const std::string& out : {pipe, dir.dir() + "verzeichnis.dat"}) {
        const WebRecipeResult r = ConvertWebRecipeBytes("<LIVE-DATEN>a\r\n", out);
        EXPECT_TRUE(r.hasDataLines);
        EXPECT_FALSE(r.recipeWritten);
        EXPECT_EQ(r.outputError, out == pipe ? "ist keine normale Datei" : "ist ein Verzeichnis")
            << out;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "verzeichnis.dat"));

    // A symbolic link is written through; the link stays.
    const std::string real = dir.write("echt.dat", "alt\r\n");
    std::filesystem::create_symlink("echt.dat", dir.path() / "rez2.dat");
    EXPECT_TRUE(ConvertWebRecipeBytes("<LIVE-DATEN>neu\r\n", dir.dir() + "rez2.dat").recipeWritten);
    EXPECT_EQ(readAll(real), "neu\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "rez2.dat"));
}

TEST(ConvertWebRecipe, WriterClosesOnDestructionUnlessAnExceptionCutItShort)
{
    TestDir dir;
    const std::string out = dir.write("rez7.dat", "voriges\r\n");
    {
        DataFileWriter writer(out);
        writer.WriteDataLine("neu");
    }
    EXPECT_EQ(readAll(out), "neu\r\n");
    try {
        DataFileWriter writer(out);
        writer.WriteDataLine("halb");
        throw std::runtime_error("abgebrochen");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(readAll(out), "neu\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ConvertWebRecipe, InputThatIsNoPageIsRefusedWithoutReadingIt)
{
    TestDir dir;
    const std::string pipe = dir.dir() + "rohr.htm";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string huge = dir.write("riesig.htm", "<LIVE-DATEN>x\r\n");
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(kMaxWebPageSize) + 1), 0);
    struct {
        std::string path;
        const char* error;
    } const cases[] = {
        {pipe, "ist keine normale Datei"}, // would wait for a writer if opened as a file
        {dir.dir(), "ist ein Verzeichnis"},
        {huge, "ist gr\u00f6\u00dfer als 16 MiB"},
        {dir.dir() + "fehlt.htm", "nicht gefunden"},
    };
    for (const auto& c : cases) {
        const WebRecipeResult r = ConvertWebRecipe(c.path, dir.dir() + "rez.dat");
        EXPECT_FALSE(r.inputReadable) << c.path;
        EXPECT_EQ(r.inputError, c.error) << c.path;
        EXPECT_FALSE(r.recipeWritten);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "rez.dat"));

    // A page exactly at the cap is read.
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(kMaxWebPageSize)), 0);
    EXPECT_TRUE(ConvertWebRecipe(huge, dir.dir() + "rez.dat").recipeWritten);
}
