#include "platform/qt/settingsstore.h"
#include "shell/formpossaver.h"
#include "support/testdir.h"

#include <QWidget>

#include <gtest/gtest.h>

using kovanta::SettingsStore;
using kovanta::TFormPosSaver;

namespace {

const QString kKey = QStringLiteral("Software\\kovanta\\SDIAppForm");

struct Fixture {
    TestDir dir;
    QString file = QString::fromStdString(dir.dir() + "registry.conf");

    void put(const QString& name, const QString& value)
    {
        SettingsStore store(file);
        store.writeString(kKey, name, value);
    }
    QString get(const QString& name)
    {
        SettingsStore store(file);
        return store.readString(kKey, name, QStringLiteral("<none>"));
    }
};

} // namespace

TEST(FormPosSaver, KeyUsesTheWindowNameUpToTheFirstUnderscore)
{
    Fixture f;
    SettingsStore store(f.file);
    QWidget w;
    w.setObjectName(QStringLiteral("SDIAppForm_1"));
    TFormPosSaver saver(&w, QStringLiteral("kovanta"), &store);
    EXPECT_EQ(saver.key(), kKey);
}

TEST(FormPosSaver, GetValueHonoursCountDefaultAndBounds)
{
    Fixture f;
    f.put(QStringLiteral("SaveIntMax"), QStringLiteral("3"));
    f.put(QStringLiteral("SaveInt1"), QStringLiteral("50"));
    // SaveInt2 missing although within SaveIntMax: the default applies, not 0.
    f.put(QStringLiteral("SaveInt3"), QStringLiteral("900"));
    f.put(QStringLiteral("SaveInt4"), QStringLiteral("300")); // beyond SaveIntMax: not read
    SettingsStore store(f.file);
    QWidget w;
    w.setObjectName(QStringLiteral("SDIAppForm"));
    TFormPosSaver saver(&w, QStringLiteral("kovanta"), &store);

    struct Case {
        int index, def, min, max, expected;
    };
    const Case cases[] = {
        {1, 200, 100, 400, 100},                                             // below minimum
        {2, 250, 100, 400, 250}, {3, 200, 100, 400, 400},                    // above maximum
        {4, 200, 100, 400, 200},                                             // not stored
        {0, 200, 100, 400, 200}, {21, 7, 0, 0, 7},        {3, 0, 0, 0, 900}, // 0: no bound
        {1, 0, 0, 40, 40},       {4, 20, 100, 0, 100},                       // default clamped
        {2, 0, 0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(saver.GetValue(c.index, c.def, c.min, c.max), c.expected) << c.index;
}

TEST(FormPosSaver, SetValueWritesEverythingAtOnce)
{
    Fixture f;
    {
        SettingsStore store(f.file);
        QWidget w;
        w.setObjectName(QStringLiteral("SDIAppForm"));
        TFormPosSaver saver(&w, QStringLiteral("kovanta"), &store);
        saver.SetValue(3, 321);
        saver.SetValue(0, 1);
        saver.SetValue(21, 1);
        saver.SetValue(1, 150);
        EXPECT_EQ(saver.GetValue(3, 0, 0, 0), 321);
    }
    EXPECT_EQ(f.get(QStringLiteral("SaveIntMax")), QStringLiteral("3"));
    EXPECT_EQ(f.get(QStringLiteral("SaveInt1")), QStringLiteral("150"));
    EXPECT_EQ(f.get(QStringLiteral("SaveInt2")), QStringLiteral("<none>")) << "never set";
    EXPECT_EQ(f.get(QStringLiteral("SaveInt3")), QStringLiteral("321"));
    EXPECT_EQ(f.get(QStringLiteral("SaveInt21")), QStringLiteral("<none>"));
    EXPECT_EQ(f.get(QStringLiteral("Width")), QStringLiteral("<none>"))
        << "a window never shown has no position to store";
}

TEST(FormPosSaver, RestoresOnFirstShowAndSavesOnClose)
{
    Fixture f;
    f.put(QStringLiteral("Left"), QStringLiteral("40"));
    f.put(QStringLiteral("Top"), QStringLiteral("30"));
    f.put(QStringLiteral("Width"), QStringLiteral("640"));
    f.put(QStringLiteral("Height"), QStringLiteral("420"));
    f.put(QStringLiteral("Maximized"), QStringLiteral("0"));
    {
        SettingsStore store(f.file);
        QWidget w;
        w.setObjectName(QStringLiteral("SDIAppForm"));
        TFormPosSaver saver(&w, QStringLiteral("kovanta"), &store);
        w.show();
        EXPECT_EQ(w.geometry(), QRect(40, 30, 640, 420));
        EXPECT_FALSE(w.isMaximized());
        w.setGeometry(60, 50, 700, 450);
        w.close();
    }
    EXPECT_EQ(f.get(QStringLiteral("Left")), QStringLiteral("60"));
    EXPECT_EQ(f.get(QStringLiteral("Width")), QStringLiteral("700"));
    EXPECT_EQ(f.get(QStringLiteral("Height")), QStringLiteral("450"));
    EXPECT_EQ(f.get(QStringLiteral("Maximized")), QStringLiteral("0"));
}

TEST(FormPosSaver, OpensMaximisedWhenAskedOrStored)
{
    for (const bool stored : {false, true}) {
        Fixture f;
        f.put(QStringLiteral("Maximized"), stored ? QStringLiteral("1") : QStringLiteral("0"));
        SettingsStore store(f.file);
        QWidget w;
        w.setObjectName(QStringLiteral("SDIAppForm"));
        TFormPosSaver saver(&w, QStringLiteral("kovanta"), &store);
        saver.setOpenMaximized(!stored);
        w.show();
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized) << stored;
    }
}

TEST(FormPosSaver, PositionOnNoScreenIsNotApplied)
{
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const QRect current(10, 10, 800, 600);
    struct Case {
        QRect stored, expected;
    };
    const Case cases[] = {
        {QRect(100, 80, 900, 700), QRect(100, 80, 900, 700)},
        {QRect(2000, 100, 900, 700), QRect(2000, 100, 900, 700)}, // second screen
        {QRect(5000, 100, 900, 700), QRect(10, 10, 900, 700)},    // screen unplugged
        {QRect(-880, 100, 900, 700), QRect(10, 10, 900, 700)},    // only 20 pixels visible
        {QRect(), current},                                       // nothing stored
    };
    for (const Case& c : cases)
        EXPECT_EQ(TFormPosSaver::placedGeometry(c.stored, current, screens), c.expected)
            << c.stored.x();
}
