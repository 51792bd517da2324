#pragma once

#include "grid/astringgrid.h"
#include "shell/tablayout.h"
#include "shell/tsdiappform.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

// Driving the assembled main window as a user does, for the window tests of several layers.
namespace window_test {

inline kovanta::TAStringGrid* RecipeList(const kovanta::TSDIAppForm& window)
{
    return window.findChild<kovanta::TAStringGrid*>(QStringLiteral("StringGrid1"));
}

// Clicks "Programmstart" once it is enabled and waits until the worker read has filled the
// recipe list with more than `moreRowsThan` grid rows (the header row counts).
inline void Programmstart(kovanta::TSDIAppForm& window, int moreRowsThan)
{
    auto* start = window.findChild<QAbstractButton*>(QStringLiteral("HemisphereButton16"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return start->isEnabled(); }));
    QTest::mouseClick(start, Qt::LeftButton);
    kovanta::TAStringGrid* list = RecipeList(window);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list->isVisible() && list->RowCount() > moreRowsThan; }));
}

inline void ChooseTab(kovanta::TSDIAppForm& window, int tab)
{
    window.tabs()->tabBar()->setCurrentIndex(tab);
    QCoreApplication::processEvents();
}

// The grid row whose "Rezept" cell holds `name` (ANSI), -1 when none does.
inline int ListRowOf(const kovanta::TAStringGrid& list, const std::string& name)
{
    for (int row = 1; row < list.RowCount(); ++row) {
        if (list.GetCell(2, row) == name)
            return row;
    }
    return -1;
}

} // namespace window_test
