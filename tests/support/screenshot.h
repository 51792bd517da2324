#pragma once

#include <QTest>

#include <cstdlib>
#include <string>

// Under a display, KOVANTA_SCREENSHOTS=<dir> keeps a picture of the whole screen as
// <dir>/<name>.png for a person to look at; without it nothing happens. The short pause lets
// the window system finish drawing; no test result depends on it.
inline void screenshot(const char* name)
{
    const char* out = std::getenv("KOVANTA_SCREENSHOTS");
    if (!out)
        return;
    QTest::qWait(300);
    const std::string cmd =
        std::string("import -window root '") + out + "/" + name + ".png' 2>/dev/null";
    (void)std::system(cmd.c_str());
}
