#pragma once

#include "platform/uiscale.h"

#include <QFrame>

class QLabel;
class QMenu;
class QSplitter;
class QTabBar;
class QTableView;
class QTextEdit;

namespace kovanta {

class PreviewTextEdit;
class RecipeFilterBar;
class ToolColumn;

// The tab indexes of TabControl1.
enum TabIndex {
    TabRecipeList = 0,   // "Rezeptliste"
    TabPreview = 1,      // "Vorschau"
    TabMenuPlan = 2,     // "Speiseplan"
    TabRequirements = 3, // "Bedarfsliste"
    TabInformation = 4,  // "Information": the start page; never stays selected
    TabCount = 5
};

// The right-side panels, numbered as their stored widths are.
enum class SidePanel { Preview = 1, MenuPlan = 2, Requirements = 3 };

// Whether the print button is enabled on a tab: always on the recipe list and the preview;
// on the menu plan and the requirements list only while a recipe is marked for the plan.
bool printEnabledOnTab(int tab, bool anyInPlan);

// The tab control TabControl1 with its work area:
//   TabControl1 (this): the tab bar "TabControl1Bar" above Panel1;
//   Panel1: the work area Panel1a and the tool column Panel2 at the right;
//   Panel1a: the splitter Splitter1 holding, left to right,
//     Panel5 (title Panel6, quick filter RezeptFilter, recipe list StringGrid1),
//     Panel4 (title Panel8, menu plan StringGrid2),
//     Panel3 (title Panel7, preview RichEdit1 with PopupMenu1),
//     Panel9 (title Panel10, warning strip AlternativPanel, requirements StringGrid3).
// Which panels show depends on the tab (setLayoutForTab): the recipe list alone; the recipe
// list with the preview or the menu plan at the right; the menu plan with the requirements
// list at the right. The right-side panel keeps its own width (setSidePanelWidth) while the
// left one takes the rest; the splitter handle shows only between two visible panels.
//
// Choosing "Information" does not change the tab: the selection goes back at once and
// informationChosen() is emitted. Any other change emits tabChanged(new, previous) after the
// panels have been laid out for the new tab.
class TabWorkArea : public QFrame {
    Q_OBJECT
public:
    explicit TabWorkArea(ToolColumn* tools, QWidget* parent = nullptr);

    int currentIndex() const;
    // Selects a tab as the user would (Information included).
    void setCurrentIndex(int tab);
    int previousIndex() const { return previous_; }
    QTabBar* tabBar() const { return tabBar_; }

    // Lays out the panels for tab (0-3), hiding those of any other tab.
    void setLayoutForTab(int tab);

    // Width the side panel takes when shown, in designed pixels (at least 50): shown scaled by
    // uiScale(), stored as it is. Until a width is set (restored from the settings, or the
    // splitter dragged), the panel fits what it shows: the menu plan and the requirements
    // list their grid's natural width (TAStringGrid::NaturalWidth, following its texts), the
    // preview the width at which its values stand at their tab stop; the grids at most half
    // the work area, the preview at most a third.
    int sidePanelWidth(SidePanel panel) const;
    void setSidePanelWidth(SidePanel panel, int width);
    bool sidePanelWidthSet(SidePanel panel) const;
    // The layout scale of the designed sizes (title panels, side panels, splitter), taken from
    // the application font at construction.
    const UiScale& uiScale() const { return scale_; }
    // The panel at the right of the current layout, if any.
    bool hasSidePanel() const;
    SidePanel currentSidePanel() const { return side_; }

    // The grid that takes the keyboard focus on a tab: the grid at the left, which the tab is
    // worked from. The recipe list on "Rezeptliste", "Vorschau" and "Speiseplan" (where Space
    // takes the current recipe into the plan), the menu plan on "Bedarfsliste" (its portions
    // drive the list at the right; the requirements' own editor is not put on their first
    // quantity unasked); nullptr for any other index.
    QTableView* gridOfTab(int tab) const;
    QTableView* recipeGrid() const { return recipeGrid_; }
    // The search field with its count above the recipe list.
    RecipeFilterBar* recipeFilter() const { return recipeFilter_; }
    QTableView* planGrid() const { return planGrid_; }
    QTableView* requirementsGrid() const { return requirementsGrid_; }
    QTextEdit* preview() const { return preview_; }
    QLabel* alternativePanel() const { return alternativPanel_; }
    QSplitter* splitter() const { return splitter_; }

signals:
    void tabChanged(int tab, int previous);
    void informationChosen(int previous);
    // The user dragged the splitter; width is the side panel's new width in designed pixels.
    void sidePanelResized(kovanta::SidePanel panel, int width);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTabBarChanged(int index);
    void onSplitterMoved();
    void applySizes();
    QWidget* sideWidget(SidePanel panel) const;
    // The width that fits what the panel shows, in pixels.
    int fittingWidth(SidePanel panel) const;

    QTabBar* tabBar_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QFrame* panel5_ = nullptr;
    QFrame* panel3_ = nullptr;
    QFrame* panel4_ = nullptr;
    QFrame* panel9_ = nullptr;
    QTableView* recipeGrid_ = nullptr;
    RecipeFilterBar* recipeFilter_ = nullptr;
    QTableView* planGrid_ = nullptr;
    QTableView* requirementsGrid_ = nullptr;
    QTextEdit* preview_ = nullptr;
    QLabel* alternativPanel_ = nullptr;
    QMenu* popup_ = nullptr;
    int previous_ = TabRecipeList;
    int current_ = TabRecipeList;
    bool hasSide_ = false;
    SidePanel side_ = SidePanel::Preview;
    int widths_[3] = {200, 200, 200};
    bool widthSet_[3] = {false, false, false};
    PreviewTextEdit* previewEdit_ = nullptr;
    UiScale scale_;
};

} // namespace kovanta
