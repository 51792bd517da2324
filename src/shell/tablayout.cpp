#include "tablayout.h"

#include "grid/astringgrid.h"
#include "gridsetup.h"
#include "hint.h"
#include "platform/gui/uifont.h"
#include "platform/qt/ansiqstring.h"
#include "recipe/requirements.h"
#include "recipefilterbar.h"
#include "toolcolumn.h"
#include "updateslock.h"
#include "views/richtextpreview.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace kovanta {

namespace {

constexpr int kMinPanelWidth = 50;

QLabel* makeTitle(const QString& name, const QString& caption, const UiScale& scale,
                  QWidget* parent)
{
    auto* title = new QLabel(caption, parent);
    title->setObjectName(name);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(scale.px(21));
    f.setBold(true);
    title->setFont(f);
    QPalette pal = title->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 128));
    title->setPalette(pal);
    title->setAlignment(Qt::AlignCenter);
    title->setFixedHeight(scale.px(30));
    return title;
}

QFrame* makePanel(const QString& name, const UiScale& scale, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    panel->setMinimumWidth(scale.px(kMinPanelWidth));
    return panel;
}

// The list grids are TAStringGrids, configured per name (gridsetup.cpp).
QTableView* makeGrid(const QString& name, QWidget* parent)
{
    return CreateListGrid(name, parent);
}

} // namespace

bool printEnabledOnTab(int tab, bool anyInPlan)
{
    switch (tab) {
    case TabRecipeList:
    case TabPreview:
        return true;
    case TabMenuPlan:
    case TabRequirements:
        return anyInPlan;
    default:
        return false;
    }
}

TabWorkArea::TabWorkArea(ToolColumn* tools, QWidget* parent)
    : QFrame(parent), scale_(applicationUiScale())
{
    setObjectName(QStringLiteral("TabControl1"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    tabBar_ = new QTabBar(this);
    tabBar_->setObjectName(QStringLiteral("TabControl1Bar"));
    tabBar_->setDrawBase(true);
    tabBar_->setExpanding(false);
    for (const char* caption :
         {"Rezeptliste", "Vorschau", "Speiseplan", "Bedarfsliste", "Information"})
        tabBar_->addTab(QString::fromUtf8(caption));
    outer->addWidget(tabBar_);

    auto* panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* panel1Layout = new QHBoxLayout(panel1);
    panel1Layout->setContentsMargins(2, 2, 2, 2);
    panel1Layout->setSpacing(2);
    outer->addWidget(panel1, 1);

    auto* panel1a = new QFrame(panel1);
    panel1a->setObjectName(QStringLiteral("Panel1a"));
    auto* workLayout = new QVBoxLayout(panel1a);
    workLayout->setContentsMargins(0, 0, 0, 0);
    panel1Layout->addWidget(panel1a, 1);
    tools->setParent(panel1);
    panel1Layout->addWidget(tools, 0);

    splitter_ = new QSplitter(Qt::Horizontal, panel1a);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setHandleWidth(scale_.px(3));
    splitter_->setChildrenCollapsible(false);
    splitter_->setOpaqueResize(true);
    workLayout->addWidget(splitter_);

    // Recipe list.
    panel5_ = makePanel(QStringLiteral("Panel5"), scale_, splitter_);
    auto* title6 = makeTitle(QStringLiteral("Panel6"), QStringLiteral("Rezepte"), scale_, panel5_);
    applyHint(title6, QStringLiteral("Übersicht aller in den aktiven Suchpfaden \n"
                                     "gefundenen Rezepte|"));
    panel5_->layout()->addWidget(title6);
    recipeGrid_ = makeGrid(QStringLiteral("StringGrid1"), panel5_);
    recipeFilter_ = new RecipeFilterBar(panel5_);
    panel5_->layout()->addWidget(recipeFilter_);
    panel5_->layout()->addWidget(recipeGrid_);

    // Menu plan.
    panel4_ = makePanel(QStringLiteral("Panel4"), scale_, splitter_);
    panel4_->layout()->addWidget(
        makeTitle(QStringLiteral("Panel8"), QStringLiteral("Speiseplan"), scale_, panel4_));
    planGrid_ = makeGrid(QStringLiteral("StringGrid2"), panel4_);
    panel4_->layout()->addWidget(planGrid_);

    // Preview.
    panel3_ = makePanel(QStringLiteral("Panel3"), scale_, splitter_);
    panel3_->layout()->addWidget(
        makeTitle(QStringLiteral("Panel7"), QStringLiteral("Vorschau"), scale_, panel3_));
    auto* preview = new PreviewTextEdit(panel3_);
    preview_ = preview;
    previewEdit_ = preview;
    preview_->setObjectName(QStringLiteral("RichEdit1"));
    preview_->setReadOnly(true);
    preview_->setContextMenuPolicy(Qt::CustomContextMenu);
    panel3_->layout()->addWidget(preview_);
    // Narrower, a value could no longer stand beside its text.
    panel3_->setMinimumWidth(std::max(panel3_->minimumWidth(), preview->minimumSizeHint().width()));
    popup_ = new QMenu(preview_);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* copy = popup_->addAction(QStringLiteral("&Kopieren"));
    copy->setObjectName(QStringLiteral("Kopieren1"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy->setShortcutContext(Qt::WidgetShortcut);
    applyHint(copy, QStringLiteral("Rezept in die Zwischenablage legen"));
    connect(copy, &QAction::triggered, preview_, &QTextEdit::copy);
    connect(preview_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popup_->popup(preview_->viewport()->mapToGlobal(pos)); });

    // Requirements.
    panel9_ = makePanel(QStringLiteral("Panel9"), scale_, splitter_);
    panel9_->layout()->addWidget(
        makeTitle(QStringLiteral("Panel10"), QStringLiteral("Bedarfsliste"), scale_, panel9_));
    alternativPanel_ = new QLabel(ansiToQString(kAlternativesCaption), panel9_);
    alternativPanel_->setObjectName(QStringLiteral("AlternativPanel"));
    {
        QFont f = alternativPanel_->font();
        f.setPixelSize(scale_.px(19));
        f.setBold(true);
        alternativPanel_->setFont(f);
        QPalette pal = alternativPanel_->palette();
        pal.setColor(QPalette::WindowText, Qt::red);
        alternativPanel_->setPalette(pal);
        alternativPanel_->setAlignment(Qt::AlignCenter);
        // In a narrow panel the warning takes two lines rather than losing its first letters.
        alternativPanel_->setWordWrap(true);
        applyHint(alternativPanel_, ansiToQString(kAlternativesHint));
        alternativPanel_->hide();
    }
    panel9_->layout()->addWidget(alternativPanel_);
    requirementsGrid_ = makeGrid(QStringLiteral("StringGrid3"), panel9_);
    panel9_->layout()->addWidget(requirementsGrid_);

    for (int i = 0; i < splitter_->count(); ++i)
        splitter_->setStretchFactor(i, i == 0 ? 1 : 0);
    splitter_->installEventFilter(this);

    // A side panel that fits its grid follows the grid's texts.
    for (QTableView* view : {planGrid_, requirementsGrid_}) {
        const SidePanel panel = view == planGrid_ ? SidePanel::MenuPlan : SidePanel::Requirements;
        connect(AsListGrid(view), &TAStringGrid::naturalWidthChanged, this, [this, panel] {
            if (hasSide_ && side_ == panel && !widthSet_[static_cast<int>(panel) - 1])
                applySizes();
        });
    }
    connect(tabBar_, &QTabBar::currentChanged, this, &TabWorkArea::onTabBarChanged);
    connect(splitter_, &QSplitter::splitterMoved, this, &TabWorkArea::onSplitterMoved);
    setLayoutForTab(TabRecipeList);
}

int TabWorkArea::currentIndex() const
{
    return tabBar_->currentIndex();
}

void TabWorkArea::setCurrentIndex(int tab)
{
    tabBar_->setCurrentIndex(tab);
}

void TabWorkArea::onTabBarChanged(int index)
{
    // The tab bar reports after the fact; the index it left is the one we last accepted.
    previous_ = current_;
    if (index == TabInformation) {
        {
            const QSignalBlocker block(tabBar_);
            tabBar_->setCurrentIndex(previous_);
        }
        emit informationChosen(previous_);
        return;
    }
    if (index < 0)
        return;
    current_ = index;
    {
        const UpdatesLock lock(this);
        setLayoutForTab(index);
    }
    emit tabChanged(index, previous_);
}

QWidget* TabWorkArea::sideWidget(SidePanel panel) const
{
    switch (panel) {
    case SidePanel::Preview:
        return panel3_;
    case SidePanel::MenuPlan:
        return panel4_;
    case SidePanel::Requirements:
        return panel9_;
    }
    return nullptr;
}

void TabWorkArea::setLayoutForTab(int tab)
{
    const bool list = tab != TabRequirements;
    panel5_->setVisible(list);
    panel3_->setVisible(tab == TabPreview);
    panel4_->setVisible(tab == TabMenuPlan || tab == TabRequirements);
    panel9_->setVisible(tab == TabRequirements);
    hasSide_ = tab == TabPreview || tab == TabMenuPlan || tab == TabRequirements;
    if (tab == TabPreview)
        side_ = SidePanel::Preview;
    else if (tab == TabMenuPlan)
        side_ = SidePanel::MenuPlan;
    else if (tab == TabRequirements)
        side_ = SidePanel::Requirements;
    // On the requirements tab the menu plan fills the area instead of sitting at the right.
    for (int i = 0; i < splitter_->count(); ++i) {
        QWidget* w = splitter_->widget(i);
        const bool grows = (w == panel5_) || (w == panel4_ && tab == TabRequirements);
        splitter_->setStretchFactor(i, grows ? 1 : 0);
    }
    applySizes();
}

void TabWorkArea::applySizes()
{
    if (!hasSide_)
        return;
    QWidget* right = sideWidget(side_);
    const int minWidth = scale_.px(kMinPanelWidth);
    const int total = std::max(splitter_->width(), 2 * minWidth + splitter_->handleWidth());
    const int index = static_cast<int>(side_) - 1;
    // A fitting panel leaves the list at the left at least half the area (two thirds beside
    // the preview, which lays its text out for any width).
    const int share = side_ == SidePanel::Preview ? 3 : 2;
    const int wanted = widthSet_[index] ? scale_.px(widths_[index])
                                        : std::min(fittingWidth(side_),
                                                   (total - splitter_->handleWidth()) / share);
    const int w = std::max(right->minimumWidth(),
                           std::min(wanted, total - minWidth - splitter_->handleWidth()));
    QList<int> sizes;
    for (int i = 0; i < splitter_->count(); ++i) {
        QWidget* widget = splitter_->widget(i);
        if (!widget->isVisibleTo(splitter_))
            sizes << 0;
        else if (widget == right)
            sizes << w;
        else
            sizes << total - w - splitter_->handleWidth();
    }
    const QSignalBlocker block(splitter_);
    splitter_->setSizes(sizes);
}

bool TabWorkArea::eventFilter(QObject* watched, QEvent* event)
{
    // While hidden the splitter has no real width; place the side panel once it has one.
    if (watched == splitter_ && (event->type() == QEvent::Show || event->type() == QEvent::Resize))
        applySizes();
    return QFrame::eventFilter(watched, event);
}

void TabWorkArea::onSplitterMoved()
{
    if (!hasSide_)
        return;
    QWidget* right = sideWidget(side_);
    const int width = scale_.designed(right->width());
    widths_[static_cast<int>(side_) - 1] = std::max(width, kMinPanelWidth);
    widthSet_[static_cast<int>(side_) - 1] = true;
    emit sidePanelResized(side_, width);
}

int TabWorkArea::fittingWidth(SidePanel panel) const
{
    switch (panel) {
    case SidePanel::Preview:
        return previewEdit_->preferredWidth();
    case SidePanel::MenuPlan:
        return AsListGrid(planGrid_)->NaturalWidth();
    case SidePanel::Requirements:
        return AsListGrid(requirementsGrid_)->NaturalWidth();
    }
    return scale_.px(200);
}

int TabWorkArea::sidePanelWidth(SidePanel panel) const
{
    const int index = static_cast<int>(panel) - 1;
    return widthSet_[index] ? widths_[index]
                            : std::max(kMinPanelWidth, scale_.designed(fittingWidth(panel)));
}

bool TabWorkArea::sidePanelWidthSet(SidePanel panel) const
{
    return widthSet_[static_cast<int>(panel) - 1];
}

void TabWorkArea::setSidePanelWidth(SidePanel panel, int width)
{
    widths_[static_cast<int>(panel) - 1] = std::max(width, kMinPanelWidth);
    widthSet_[static_cast<int>(panel) - 1] = true;
    if (hasSide_ && panel == side_)
        applySizes();
}

QTableView* TabWorkArea::gridOfTab(int tab) const
{
    switch (tab) {
    case TabRecipeList:
    case TabPreview:
    case TabMenuPlan:
        return recipeGrid_;
    case TabRequirements:
        return planGrid_;
    default:
        return nullptr;
    }
}

bool TabWorkArea::hasSidePanel() const
{
    return hasSide_;
}

} // namespace kovanta
