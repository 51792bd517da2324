#include "support/testdir.h"
#include "webimport/dropurltarget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace kovanta;

namespace {

// The registered window as a recording fake.
class FakeWindow : public IDropWindow {
public:
    std::string Name() const override { return "Importfenster"; }
    bool Exists() const override { return exists; }
    bool AcceptDrops(TDropTarget&) override
    {
        ++registered;
        return acceptOk;
    }
    bool RevokeDrops() override
    {
        ++revoked;
        return revokeOk;
    }
    int ClientWidth() const override { return 200; }
    int ClientHeight() const override { return 150; }
    int FontHeight() const override { return -13; }
    bool HasHorzScrollBar() const override { return horz; }
    bool HasVertScrollBar() const override { return vert; }
    void ScrollLine(int dx, int dy) override { scrolls.push_back({dx, dy}); }
    void StartScrollTimer(int ms) override
    {
        timerMs = ms;
        timer = true;
    }
    void StopScrollTimer() override { timer = false; }

    bool exists = true, acceptOk = true, revokeOk = true, horz = false, vert = false;
    int registered = 0, revoked = 0, timerMs = 0;
    bool timer = false;
    std::vector<TPoint> scrolls;
};

std::shared_ptr<TDropDataMap> data(std::initializer_list<std::pair<const char*, std::string>> items)
{
    auto map = std::make_shared<TDropDataMap>();
    for (const auto& [format, bytes] : items)
        map->Set(format, bytes);
    return map;
}

struct Dropped {
    bool fired = false;
    std::string url, title;
    std::uint32_t effect = 0;
};

// Runs a whole drag (enter, drop) of `object` onto a fresh URL target and reports the drop.
Dropped dropOnto(std::shared_ptr<const IDropDataObject> object, std::uint32_t* result = nullptr)
{
    FakeWindow window;
    TDropURLTarget target;
    target.Dragtypes = dtCopy | dtMove | dtLink;
    target.Register(window);
    Dropped d;
    target.OnDrop = [&](TDropTarget& sender, TShiftState, TPoint, std::uint32_t& effect) {
        auto& t = static_cast<TDropURLTarget&>(sender);
        d.fired = true;
        d.url = t.URL;
        d.title = t.Title;
        d.effect = effect;
    };
    target.DragEnter(object, 0, {50, 50}, DROPEFFECT_COPY | DROPEFFECT_LINK);
    const std::uint32_t effect =
        target.Drop(nullptr, 0, {50, 50}, DROPEFFECT_COPY | DROPEFFECT_LINK);
    if (result)
        *result = effect;
    EXPECT_TRUE(target.URL.empty()) << "URL is valid only inside OnDrop";
    return d;
}

const std::string kRecipeUrl = "http://kantine.example/rezepte/r17.htm";

} // namespace

TEST(DropURLTarget, FormatsAreTriedInOrder)
{
    TestDir dir;
    const std::string shortcut =
        dir.write("Rezept.url", "[InternetShortcut]\r\nURL=" + kRecipeUrl + "\r\n");
    const std::string descriptor = MakeFileGroupDescriptor("Gulasch vom Rind.url");
    const std::string iePrefix(23, '#'); // what precedes the address in FileContents
    struct Case {
        const char* name;
        std::shared_ptr<TDropDataMap> object;
        bool fired;
        std::string url, title;
    };
    const Case cases[] = {
        {"link with descriptor", data({{kFormatURL, kRecipeUrl}, {kFormatDescriptor, descriptor}}),
         true, kRecipeUrl, "Gulasch vom Rind"},
        {"link before text",
         data({{kFormatText, "Text"}, {kFormatURL, kRecipeUrl + '\0' + "rest"}}), true, kRecipeUrl,
         kRecipeUrl},
        {"plain text, title defaults to URL", data({{kFormatText, "http://x/a b"}}), true,
         "http://x/a b", "http://x/a b"},
        {"empty link stops the search", data({{kFormatURL, ""}, {kFormatText, kRecipeUrl}}), false,
         "", ""},
        {"file contents at character 24", data({{kFormatFileContents, iePrefix + kRecipeUrl}}),
         true, kRecipeUrl, kRecipeUrl},
        {"file contents capped at 250 characters",
         data({{kFormatFileContents, iePrefix + std::string(300, 'u')}}), true,
         std::string(250, 'u'), std::string(250, 'u')},
        {"file contents too short", data({{kFormatFileContents, "kurz"}}), false, "", ""},
        {"file contents of a shortcut",
         data({{kFormatFileContents, "[InternetShortcut]\r\nURL=" + kRecipeUrl + "\r\n"},
               {kFormatDescriptor, descriptor}}),
         true, kRecipeUrl, "Gulasch vom Rind"},
        {"shortcut file", data({{kFormatFileDrop, MakeFileDropListAnsi({shortcut})}}), true,
         kRecipeUrl, "Rezept"},
        {"descriptor names the title of a shortcut file",
         data({{kFormatFileDrop, MakeFileDropListAnsi({shortcut})},
               {kFormatDescriptor, descriptor}}),
         true, kRecipeUrl, "Gulasch vom Rind"},
        {"descriptor of less than four characters",
         data({{kFormatURL, kRecipeUrl}, {kFormatDescriptor, MakeFileGroupDescriptor("a.u")}}),
         true, kRecipeUrl, ""},
    };
    for (const Case& c : cases) {
        const Dropped d = dropOnto(c.object);
        EXPECT_EQ(d.fired, c.fired) << c.name;
        EXPECT_EQ(d.url, c.url) << c.name;
        EXPECT_EQ(d.title, c.title) << c.name;
    }
}

TEST(DropURLTarget, ShortcutFiles)
{
    TestDir dir;
    struct Case {
        const char* file;
        std::string content;
        bool fired;
        std::string url, title;
    };
    const Case cases[] = {
        {"Rezept.url", "[InternetShortcut]\r\nURL=" + kRecipeUrl + "\r\n", true, kRecipeUrl,
         "Rezept"},
        {"GROSS.URL", "[internetshortcut]\nIconIndex=0\nURL=" + kRecipeUrl + "\n", true, kRecipeUrl,
         "GROSS"},
        {"klein.url", "[InternetShortcut]\r\nurl=" + kRecipeUrl + "\r\n", false, "", ""},
        {"ohne.url", "[Default]\r\nURL=" + kRecipeUrl + "\r\n", false, "", ""},
        {"zuletzt.url", "URL=http://x/\r\n[InternetShortcut]", false, "", ""},
        {"andere.url", "[InternetShortcut]\r\n[Andere]\r\nURL=" + kRecipeUrl + "\r\n", false, "",
         ""},
        {"zweimal.url", "[InternetShortcut]\r\nURL=http://a/\r\nURL=http://b/\r\n", true,
         "http://a/", "zweimal"},
        {"Rezept.txt", "[InternetShortcut]\r\nURL=" + kRecipeUrl + "\r\n", false, "", ""},
        {"link.desktop",
         "[Desktop Entry]\nType=Link\nName=K\xC3\xA4sesp\xC3\xA4tzle\nURL=" + kRecipeUrl + "\n",
         true, kRecipeUrl, "K\xE4sesp\xE4tzle"},
        {"ohnename.desktop", "[Desktop Entry]\nURL=" + kRecipeUrl + "\nType=Link\n", true,
         kRecipeUrl, "ohnename"},
        {"programm.desktop", "[Desktop Entry]\nType=Application\nName=X\nExec=x\n", false, "", ""},
    };
    for (const Case& c : cases) {
        const std::string path = dir.write(c.file, c.content);
        const Dropped d = dropOnto(data(
            {{kFormatFileDrop, MakeFileDropList({std::u16string(path.begin(), path.end())})}}));
        EXPECT_EQ(d.fired, c.fired) << c.file;
        EXPECT_EQ(d.url, c.url) << c.file;
        EXPECT_EQ(d.title, c.title) << c.file;
    }
    // A FIFO or directory named like a shortcut is not read (a FIFO would block the drop), nor
    // is a file far too large for one.
    const std::string pipe = dir.dir() + "rohr.url";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path() / "ordner.url");
    const std::string big =
        dir.write("gross.url", "[InternetShortcut]\r\nURL=" + kRecipeUrl + "\r\n" +
                                   std::string(TDropURLTarget::kMaxShortcutSize, ' '));
    for (const std::string& path : {pipe, dir.dir() + "ordner.url", big})
        EXPECT_FALSE(dropOnto(data({{kFormatFileDrop, MakeFileDropListAnsi({path})}})).fired)
            << path;
    // A missing file and an empty list give nothing.
    EXPECT_FALSE(
        dropOnto(data({{kFormatFileDrop, MakeFileDropListAnsi({dir.dir() + "weg.url"})}})).fired);
    EXPECT_FALSE(dropOnto(data({{kFormatFileDrop, MakeFileDropListAnsi({})}})).fired);
}

TEST(DropURLTarget, OtherMediumEndsWithWhatWasFound)
{
    auto stream = std::make_shared<TDropDataMap>();
    stream->Set(kFormatURL, kRecipeUrl, TYMED_ISTREAM | TYMED_HGLOBAL);
    stream->Set(kFormatText, "http://x/");
    // Offered in memory too, but delivered as a stream: the search ends without a URL.
    Dropped d = dropOnto(stream);
    EXPECT_FALSE(d.fired);

    auto titleAsStream = std::make_shared<TDropDataMap>();
    titleAsStream->Set(kFormatURL, kRecipeUrl);
    titleAsStream->Set(kFormatDescriptor, MakeFileGroupDescriptor("Titel.url"), TYMED_ISTREAM);
    d = dropOnto(titleAsStream);
    EXPECT_TRUE(d.fired);
    EXPECT_EQ(d.url, kRecipeUrl);
    EXPECT_EQ(d.title, ""); // not defaulted to the URL
}

TEST(DropURLTarget, RefusedAtEnterWithoutAcceptedFormat)
{
    FakeWindow window;
    TDropURLTarget target;
    target.Dragtypes = dtCopy;
    target.Register(window);
    int entered = 0;
    target.OnEnter = [&](TDropTarget&, TShiftState, TPoint, std::uint32_t&) { ++entered; };

    auto descriptorOnly = data({{kFormatDescriptor, MakeFileGroupDescriptor("Rezept.url")}});
    EXPECT_EQ(target.DragEnter(descriptorOnly, 0, {1, 1}, DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_FALSE(target.Dragging());
    EXPECT_EQ(target.DragOver(0, {2, 2}, DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_EQ(target.Drop(descriptorOnly, 0, {2, 2}, DROPEFFECT_COPY), DROPEFFECT_NONE);

    // Only entries in memory, with the content aspect and no target device, count.
    for (const TFormatEntry& e : {TFormatEntry{kFormatURL, true, DVASPECT_CONTENT, TYMED_HGLOBAL},
                                  TFormatEntry{kFormatURL, false, 4, TYMED_HGLOBAL},
                                  TFormatEntry{kFormatURL, false, DVASPECT_CONTENT, TYMED_FILE}}) {
        auto announced = std::make_shared<TDropDataMap>();
        announced->Announce(e);
        EXPECT_EQ(target.DragEnter(announced, 0, {1, 1}, DROPEFFECT_COPY), DROPEFFECT_NONE);
    }
    EXPECT_EQ(entered, 0);
    auto ok = std::make_shared<TDropDataMap>();
    ok->Announce({kFormatText, false, DVASPECT_CONTENT, TYMED_HGLOBAL | TYMED_ISTREAM});
    EXPECT_EQ(target.DragEnter(ok, 0, {1, 1}, DROPEFFECT_COPY), DROPEFFECT_COPY);
    EXPECT_EQ(entered, 1);
}

TEST(DropTarget, EffectFromKeysAndAllowedTypes)
{
    struct Case {
        TDragTypes types;
        TShiftState shift;
        std::uint32_t offered, effect;
    };
    const std::uint32_t all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    const Case cases[] = {
        {dtCopy | dtMove | dtLink, ssShift | ssCtrl, all, DROPEFFECT_LINK},
        {dtCopy | dtMove | dtLink, ssCtrl, all, DROPEFFECT_COPY},
        {dtCopy | dtMove | dtLink, ssShift, all, DROPEFFECT_MOVE},
        {dtCopy | dtMove | dtLink, ssShift | ssAlt, all, DROPEFFECT_MOVE},
        {dtCopy | dtMove | dtLink, 0, all, DROPEFFECT_COPY},
        {dtCopy | dtMove | dtLink, ssAlt, all, DROPEFFECT_COPY},
        {dtCopy | dtMove, ssShift | ssCtrl, all, DROPEFFECT_COPY},
        {dtCopy | dtLink, ssShift, all, DROPEFFECT_COPY},
        {dtMove | dtLink, 0, all, DROPEFFECT_MOVE},
        {dtLink, 0, all, DROPEFFECT_LINK},
        {dtCopy | dtMove | dtLink, 0, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {dtCopy | dtMove | dtLink, ssShift, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {0, 0, all, DROPEFFECT_NONE},
        {dtCopy, 0, DROPEFFECT_MOVE, DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        TDropTarget target;
        target.Dragtypes = c.types;
        EXPECT_EQ(target.GetValidDropEffect(c.shift, {10, 10}, c.offered), c.effect)
            << "types " << c.types << " shift " << c.shift << " offered " << c.offered;
    }
    TDropTarget target;
    target.Dragtypes = dtCopy | dtLink;
    target.OnGetDropEffect = [](TDropTarget&, TShiftState, TPoint, std::uint32_t& effect) {
        EXPECT_EQ(effect, DROPEFFECT_COPY | DROPEFFECT_LINK); // the allowed ones
        effect = DROPEFFECT_LINK;
    };
    EXPECT_EQ(
        target.GetValidDropEffect(0, {0, 0}, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK),
        DROPEFFECT_LINK);
}

TEST(DropTarget, EventSequenceAndDataLifetime)
{
    FakeWindow window;
    TDropURLTarget target;
    target.Dragtypes = dtCopy;
    target.Register(window);
    std::vector<std::string> events;
    const auto record = [&](const char* name) {
        return [&, name](TDropTarget&, TShiftState, TPoint p, std::uint32_t& effect) {
            events.push_back(std::string(name) + " " + std::to_string(p.x) + " " +
                             std::to_string(effect) + " " + target.URL);
        };
    };
    target.OnEnter = record("enter");
    target.OnDragOver = record("over");
    target.OnDrop = record("drop");
    target.OnLeave = [&](TDropTarget&) { events.push_back("leave"); };
    const auto link =
        data({{kFormatURL, kRecipeUrl}, {kFormatDescriptor, MakeFileGroupDescriptor("R.url")}});

    target.DragEnter(link, 0, {20, 60}, DROPEFFECT_COPY);
    target.DragOver(0, {30, 60}, DROPEFFECT_COPY);
    target.DragLeave();
    EXPECT_FALSE(target.Dragging());
    EXPECT_EQ(target.Drop(link, 0, {30, 60}, DROPEFFECT_COPY), DROPEFFECT_NONE); // no drag
    target.DragEnter(link, 0, {20, 60}, DROPEFFECT_COPY);
    EXPECT_EQ(target.Drop(nullptr, 0, {40, 60}, DROPEFFECT_COPY), DROPEFFECT_COPY);
    EXPECT_EQ(events, (std::vector<std::string>{"enter 20 1 ", "over 30 1 ", "leave", "enter 20 1 ",
                                                "drop 40 1 " + kRecipeUrl}));
    EXPECT_TRUE(target.URL.empty());
    EXPECT_FALSE(target.Dragging());

    // Fetched already at enter when asked to.
    events.clear();
    target.GetDataOnEnter = true;
    target.DragEnter(link, 0, {20, 60}, DROPEFFECT_COPY);
    EXPECT_EQ(events, std::vector<std::string>{"enter 20 1 " + kRecipeUrl});
    target.Drop(nullptr, 0, {20, 60}, DROPEFFECT_COPY);
    EXPECT_EQ(events.back(), "drop 20 1 " + kRecipeUrl);

    // Data without a URL: no drop event, effect none.
    events.clear();
    target.GetDataOnEnter = false;
    const auto empty = data({{kFormatURL, std::string("\0x", 2)}});
    target.DragEnter(empty, 0, {20, 60}, DROPEFFECT_COPY);
    EXPECT_EQ(target.Drop(nullptr, 0, {20, 60}, DROPEFFECT_COPY), DROPEFFECT_NONE);
    EXPECT_EQ(events, std::vector<std::string>{"enter 20 1 "});
}

TEST(DropTarget, ScrollsNearTheEdgesOnlyWithScrollBars)
{
    FakeWindow window;
    window.vert = true;
    TDropURLTarget target;
    target.Dragtypes = dtCopy;
    target.Register(window);
    const auto link = data({{kFormatURL, kRecipeUrl}});
    // Margin = |font height| = 13; client 200 x 150.
    EXPECT_EQ(target.DragEnter(link, 0, {100, 5}, DROPEFFECT_COPY),
              DROPEFFECT_COPY | DROPEFFECT_SCROLL);
    EXPECT_FALSE(window.timer); // the timer starts with the first move
    EXPECT_EQ(target.DragOver(0, {100, 12}, DROPEFFECT_COPY), DROPEFFECT_COPY | DROPEFFECT_SCROLL);
    EXPECT_TRUE(window.timer);
    EXPECT_EQ(window.timerMs, 100);
    target.ScrollTimerTick();
    EXPECT_EQ(target.DragOver(0, {100, 13}, DROPEFFECT_COPY), DROPEFFECT_COPY);
    EXPECT_FALSE(window.timer);
    EXPECT_EQ(target.DragOver(0, {5, 137}, DROPEFFECT_COPY),
              DROPEFFECT_COPY); // x: no horizontal bar
    EXPECT_EQ(target.DragOver(0, {5, 140}, DROPEFFECT_COPY), DROPEFFECT_COPY | DROPEFFECT_SCROLL);
    target.ScrollTimerTick();
    EXPECT_EQ(window.scrolls, (std::vector<TPoint>{{0, -1}, {0, 1}}));
    target.Drop(nullptr, 0, {5, 140}, DROPEFFECT_COPY);
    EXPECT_FALSE(window.timer);

    window.vert = false;
    window.horz = true;
    target.DragEnter(link, 0, {195, 75}, DROPEFFECT_COPY);
    EXPECT_EQ(target.DragOver(0, {190, 75}, DROPEFFECT_COPY), DROPEFFECT_COPY | DROPEFFECT_SCROLL);
    target.ScrollTimerTick();
    EXPECT_EQ(window.scrolls.back(), (TPoint{1, 0}));
    target.DragLeave();
    EXPECT_FALSE(window.timer);
}

TEST(DropTarget, RegistrationFailuresNameTheWindow)
{
    FakeWindow first, second;
    {
        TDropTarget target;
        target.Register(first);
        target.Register(second); // the first is given up
        EXPECT_EQ(first.revoked, 1);
        EXPECT_EQ(target.Window(), &second);
        second.revokeOk = false;
        try {
            target.Unregister();
            FAIL() << "no exception";
        } catch (const EDropTargetError& e) {
            EXPECT_STREQ(e.what(), "Failed to Unregister Importfenster");
        }
        EXPECT_EQ(target.Window(), nullptr);
        first.acceptOk = false;
        try {
            target.Register(first);
            FAIL() << "no exception";
        } catch (const EDropTargetError& e) {
            EXPECT_STREQ(e.what(), "Failed to Register Importfenster");
        }
        first.acceptOk = true;
        first.exists = false;
        target.Register(first);
    } // destruction: a window that no longer exists is not revoked
    EXPECT_EQ(first.revoked, 1);
}

TEST(DropLayouts, MalformedListsAndDescriptors)
{
    EXPECT_FALSE(ReadFileDropList("kurz"));
    std::string badOffset = MakeFileDropListAnsi({"/a.url"});
    badOffset[0] = '\x7F';
    EXPECT_FALSE(ReadFileDropList(badOffset));
    // A list without its final NULs still yields the names it holds.
    std::string cut = MakeFileDropListAnsi({"/a.url", "/b.url"});
    cut.resize(cut.size() - 2);
    EXPECT_EQ(*ReadFileDropList(cut), (std::vector<std::string>{"/a.url", "/b.url"}));
    EXPECT_EQ(*ReadFileDropList(MakeFileDropList({u"/R\u00e4z.url", u"/b"})),
              (std::vector<std::string>{"/R\xC3\xA4z.url", "/b"}));
    std::string odd = MakeFileDropList({u"/a"});
    odd.resize(odd.size() - 3);
    EXPECT_EQ(*ReadFileDropList(odd), std::vector<std::string>{"/a"});

    EXPECT_FALSE(ReadFileGroupDescriptor(std::string(40, '\0')));
    std::string none = MakeFileGroupDescriptor("x.url");
    none[0] = 0;
    EXPECT_FALSE(ReadFileGroupDescriptor(none));
    const std::string shortName = MakeFileGroupDescriptor("Titel.url").substr(0, 80);
    EXPECT_EQ(*ReadFileGroupDescriptor(shortName), "Tite");
    EXPECT_EQ(ReadFileGroupDescriptor(MakeFileGroupDescriptor(std::string(300, 'n')))->size(),
              259u);
}
