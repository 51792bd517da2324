#pragma once

#include "grid/astringgrid.h"
#include "recipe/recipe_fixture.h"
#include "shell/messages.h"
#include "shell/tablayout.h"
#include "shell/tsdiappform.h"
#include "support/testdir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The assembled main window on a program directory of its own, driven as a user does it: the
// base of the window tests of every layer.
namespace window_test {

inline constexpr int kNever = 24 * 60 * 60 * 1000;

class MainWindowDriver : public ::testing::Test {
protected:
    kovanta::ShellOptions options(int startDelayMs) const
    {
        kovanta::ShellOptions o;
        o.programDirectory = QString::fromStdString(dir.dir());
        o.startDelayMs = startDelayMs;
        return o;
    }
    // Shows the window at size and makes it the active one: keys go where a user's would.
    void open(const kovanta::ShellOptions& o, QSize size = {1000, 650})
    {
        window = std::make_unique<kovanta::TSDIAppForm>(o);
        window->resize(size);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get());
    }
    void open(int startDelayMs = 0, QSize size = {1000, 650})
    {
        open(options(startDelayMs), size);
    }

    // Clicks "Programmstart" once it can be clicked and waits for the tabs and the read.
    void start()
    {
        auto* button = child<QAbstractButton>("HemisphereButton16");
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->isEnabled(); }));
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->tabs()->isVisible(); }));
        waitForRead();
    }
    // The read runs on a worker thread; its list arrives later on this one.
    void waitForRead()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->readingRecipes(); }, 120000));
        QCoreApplication::processEvents();
    }
    // "Rezepte neu einlesen".
    void reread()
    {
        window->reloadRecipes();
        waitForRead();
    }

    template <typename T> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromUtf8(name));
    }
    kovanta::TAStringGrid* list() const { return child<kovanta::TAStringGrid>("StringGrid1"); }
    kovanta::TAStringGrid* plan() const { return child<kovanta::TAStringGrid>("StringGrid2"); }
    kovanta::TAStringGrid* requirements() const
    {
        return child<kovanta::TAStringGrid>("StringGrid3");
    }
    QTextEdit* preview() const { return child<QTextEdit>("RichEdit1"); }
    QString previewText() const { return preview()->toPlainText(); }

    void chooseTab(int tab)
    {
        window->tabs()->tabBar()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
    }
    // The recipe list row whose "Rezept" cell holds name (ANSI), -1 when none does.
    int rowOf(const std::string& name) const
    {
        for (int row = 1; row < list()->RowCount(); ++row) {
            if (list()->GetCell(2, row) == name)
                return row;
        }
        return -1;
    }
    static void clickCell(kovanta::TAStringGrid* grid, int col, int row, bool twice = false)
    {
        const QPoint at = grid->viewport()->mapFrom(grid, grid->CellRect(col, row).center());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    // Takes a recipe into the plan (or out of it) on "Speiseplan", as the space key does.
    void toggle(const std::string& name)
    {
        chooseTab(kovanta::TabMenuPlan);
        list()->SetRow(rowOf(name));
        kovanta::postWindowMessage(window.get(), kovanta::MSG_TOGGLE_PLAN);
        QCoreApplication::processEvents();
    }

    // A single-recipe file in the program directory: head with name and portions, body lines.
    void writeRecipe(const std::string& file, const std::string& name, int portions,
                     const std::vector<std::string>& body, const std::string& desc = "")
    {
        fixture::Head head;
        head.shortName = name;
        head.portions = portions;
        if (!desc.empty())
            head.desc1 = desc;
        std::vector<std::string> lines = fixture::Block(head, body);
        lines.push_back("^^");
        dir.write(file, fixture::Join(lines));
    }

    TestDir dir;
    std::unique_ptr<kovanta::TSDIAppForm> window;
};

} // namespace window_test
