#include "platform/qt/settingsstore.h"
#include "app/searchpaths.h"
#include "shell/settings.h"
#include "support/testdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace kovanta;
using Paths = std::vector<SearchPath>;

namespace {

std::string readAll(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Paths loadFrom(const TestDir& dir, const std::string& ini)
{
    SearchPathList list;
    list.add("/stale/", true); // loading replaces, never merges
    settings::loadSearchPaths(dir.write("kovanta.INI", ini), list);
    return list.entries();
}

QString storeFile(const TestDir& dir)
{
    return QString::fromStdString(dir.dir() + "registry.conf");
}

// "a+ b-": /a/ ticked, /b/ not.
SearchPathList pathList(const std::string& layout)
{
    SearchPathList list;
    for (std::size_t i = 0; i + 1 < layout.size(); i += 3)
        list.add("/" + layout.substr(i, 1) + "/", layout[i + 1] == '+');
    return list;
}

} // namespace

TEST(SearchPathList, KeepsInsertionOrderAndComparesExactly)
{
    SearchPathList list;
    EXPECT_TRUE(list.add("/srv/Rezepte", false));
    EXPECT_TRUE(list.add("/srv/rezepte/", true)); // a different directory on Linux
    EXPECT_FALSE(list.add("/srv/Rezepte/", true));
    EXPECT_FALSE(list.add("", true));
    EXPECT_EQ(list.entries(), (Paths{{"/srv/Rezepte/", false}, {"/srv/rezepte/", true}}));
    EXPECT_EQ(list.indexOf("/srv/rezepte"), 1);

    list.setActive(0, true);
    list.setActive(7, true);
    list.remove(1);
    list.remove(5);
    EXPECT_EQ(list.entries(), (Paths{{"/srv/Rezepte/", true}}));

    list.assign({{"/a", true}, {"/a/", false}, {"", true}, {"/b/", false}});
    EXPECT_EQ(list.entries(), (Paths{{"/a/", true}, {"/b/", false}}));
}

// asRead → mine (this instance) and onDisk (another instance, saved meanwhile) → merged.
TEST(SearchPathList, MergeKeepsTheChangesOfBothSides)
{
    const struct {
        const char* name;
        const char *asRead, *mine, *onDisk, *merged;
    } cases[] = {
        {"file unchanged: mine as it is", "a+ b+", "b-", "a+ b+", "b-"},
        {"each side unticked one", "a+ b+", "a- b+", "a+ b-", "a- b-"},
        {"ticked here, removed there", "a-", "a+", "", "a+"},
        {"removed here, unticked there", "a+ b+", "b+", "a- b+", "a- b+"},
        {"removed here, unchanged there", "a+ b+", "b+", "a+ b+ x-", "b+ x-"},
        {"removed on both sides", "a+ b+", "b+", "b+ y+", "b+ y+"},
        {"added on both, after the predecessor; same path: my flag", "a+ b+", "a+ n- b+ z+",
         "a+ b+ y+ z-", "a+ n- b+ y+ z+"},
        {"first entry added here, file made meanwhile", "", "m+", "t-", "m+ t-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mergeSearchPaths(pathList(c.asRead), pathList(c.mine), pathList(c.onDisk)),
                  pathList(c.merged))
            << c.name;
}

TEST(Settings, LoadsSearchPathsFromProfile)
{
    struct Case {
        const char* name;
        std::string ini;
        Paths expected;
    };
    const Case cases[] = {
        {"missing section", "[Other]\n1=1/x/\n", {}},
        {"flags, keys out of order, comment",
         "[SuchPfade]\r\n3=1/srv/c/\r\n;1=1/commented/\r\n1=0/srv/a\r\n2=1/srv/B/\r\n",
         {{"/srv/c/", true}, {"/srv/a/", false}, {"/srv/B/", true}}},
        {"paths differing in case are two directories; nothing lower-cased",
         "[suchpfade]\n1=1/Srv/Rez/\n2=0/srv/rez/\n",
         {{"/Srv/Rez/", true}, {"/srv/rez/", false}}},
        {"equal paths: the first wins with its flag",
         "[SuchPfade]\n1=0/srv/a/\n2=1/srv/a/\n",
         {{"/srv/a/", false}}},
        {"no flag: whole value is the path, inactive",
         "[SuchPfade]\n1=/srv/x/\n2=x1/\n",
         {{"/srv/x/", false}, {"x1/", false}}},
        {"empty values and lone flags skipped",
         "[SuchPfade]\n1=\n2=1\n3=0/ok/\n",
         {{"/ok/", false}}},
        {"only the first character is the flag", "[SuchPfade]\n1=10/srv/\n", {{"0/srv/", true}}},
    };
    for (const Case& c : cases) {
        TestDir dir;
        EXPECT_EQ(loadFrom(dir, c.ini), c.expected) << c.name;
    }

    TestDir dir;
    SearchPathList list;
    list.add("/x/", true);
    EXPECT_EQ(settings::loadSearchPaths(dir.dir() + "none.INI", list), "");
    EXPECT_TRUE(list.empty()) << "first start: no file, empty list";

    // A file that cannot be used counts as missing, and the result says why.
    std::filesystem::create_directories(dir.path() / "kovanta.INI");
    list.add("/x/", true);
    EXPECT_EQ(settings::loadSearchPaths(dir.dir() + "kovanta.INI", list),
              "kovanta.INI ist ein Verzeichnis");
    EXPECT_TRUE(list.empty());
}

TEST(Settings, SaveSkipsUnstorablePathsAndTakesARemovedFileForNoChange)
{
    TestDir dir;
    const std::string ini = dir.dir() + "kovanta.INI";
    SearchPathList list;
    list.add("/line\nbreak/", true);
    list.add("/ok/", false);
    EXPECT_EQ(settings::saveSearchPaths(ini, list, {}), "");
    EXPECT_EQ(readAll(ini), "[SuchPfade]\n1=0/ok/\n");
    // Removed by hand meanwhile: that is no other instance removing every directory.
    std::filesystem::remove(ini);
    EXPECT_EQ(settings::saveSearchPaths(ini, list, list), "");
    EXPECT_EQ(readAll(ini), "[SuchPfade]\n1=0/ok/\n");
}

TEST(Settings, ProfileFileSitsNextToTheProgram)
{
    EXPECT_EQ(settings::profileFileName("/opt/kovanta/"), "/opt/kovanta/kovanta.INI");
    EXPECT_EQ(settings::profileFileName("/opt/kovanta"), "/opt/kovanta/kovanta.INI");
}

TEST(Settings, SwitchesDefaultToOnAndReadAnyNonZeroNumberAsOn)
{
    TestDir dir;
    {
        SettingsStore store(storeFile(dir));
        const settings::Switches s = settings::readSwitches(store);
        EXPECT_TRUE(s.autosave && s.zeilenfinder && s.maxWindow) << "first start";
    }
    struct Case {
        const char* stored;
        bool expected;
    };
    const Case cases[] = {{"0", false}, {"1", true},    {"2", true}, {" 0 ", false},
                          {"-1", true}, {"nein", true}, {"", true}};
    for (const Case& c : cases) {
        SettingsStore store(storeFile(dir));
        store.writeString(QString::fromLatin1(settings::kRegistryKey),
                          QStringLiteral("Zeilenfinder"), QString::fromLatin1(c.stored));
        EXPECT_EQ(settings::readSwitches(store).zeilenfinder, c.expected) << c.stored;
    }
}

TEST(Settings, SwitchWritesAreSeparate)
{
    TestDir dir;
    {
        SettingsStore store(storeFile(dir));
        ASSERT_TRUE(settings::writeMaxWindow(store, false));
    }
    {
        SettingsStore store(storeFile(dir));
        const settings::Switches s = settings::readSwitches(store);
        EXPECT_FALSE(s.maxWindow);
        EXPECT_TRUE(s.zeilenfinder) << "MaxWindow alone written";
        ASSERT_TRUE(settings::writeCloseSwitches(store, true, false));
    }
    SettingsStore store(storeFile(dir));
    EXPECT_EQ(store.readString(QString::fromLatin1(settings::kRegistryKey),
                               QStringLiteral("Zeilenfinder")),
              QStringLiteral("0"));
    EXPECT_FALSE(settings::readSwitches(store).maxWindow);
}
