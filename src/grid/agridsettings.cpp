#include "grid/agridsettings.h"

#include "grid/astringgrid.h"
#include "grid/core/gridwidths.h"
#include "platform/qt/settingsstore.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <vector>

namespace kovanta {

QString defaultGridRegistryKey(const QString& programFileName, const QString& ownerFormName,
                               int ownerTag)
{
    QString key = QStringLiteral("Software\\") + programFileName.section(QLatin1Char('.'), 0, 0) +
                  QLatin1Char('\\') + ownerFormName.section(QLatin1Char('_'), 0, 0);
    if (ownerTag != 0)
        key += QLatin1Char('\\') + QString::number(ownerTag);
    return key;
}

bool restoreGridSizes(TAStringGrid& grid)
{
    TAGridSaveSettings& s = grid.SaveSettings;
    if (s.RegistryKey.isEmpty()) {
        const QWidget* owner = grid.window();
        s.EffectiveKey = defaultGridRegistryKey(
            QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
            owner ? owner->objectName() : QString(), owner ? owner->property("Tag").toInt() : 0);
    } else {
        s.EffectiveKey = s.RegistryKey;
    }
    s.Section = grid.objectName();
    const QString key = s.EffectiveKey + QLatin1Char('\\') + s.Section;
    SettingsStore store;
    if (s.SaveWidth || s.SaveHeight) {
        const int w = s.SaveWidth
                          ? store.readInteger(key, QStringLiteral("GridWidth"), grid.width())
                          : grid.width();
        const int h = s.SaveHeight
                          ? store.readInteger(key, QStringLiteral("GridHeight"), grid.height())
                          : grid.height();
        grid.resize(w, h);
    }
    if (!s.SaveColumnSizes || grid.ColCount() <= 0)
        return false;
    const std::vector<int> widths =
        grid::parseSizes(store.readString(key, QStringLiteral("Sizes")).toStdString());
    for (int c = 0; c < grid.ColCount() && c < static_cast<int>(widths.size()); ++c)
        grid.SetColWidths(c, grid.uiScale().px(widths[c]));
    return !widths.empty();
}

void storeGridSizes(TAStringGrid& grid, bool columnWidths)
{
    TAGridSaveSettings& s = grid.SaveSettings;
    if (s.EffectiveKey.isEmpty())
        s.EffectiveKey = s.RegistryKey;
    const QString key =
        s.EffectiveKey + QLatin1Char('\\') + (s.Section.isEmpty() ? grid.objectName() : s.Section);
    SettingsStore store;
    if (s.AutoSave && s.SaveColumnSizes && columnWidths) {
        std::vector<int> widths;
        for (int c = 0; c < grid.ColCount(); ++c)
            widths.push_back(grid.uiScale().designed(grid.ColWidths(c)));
        store.writeString(key, QStringLiteral("Sizes"),
                          QString::fromStdString(grid::formatSizes(widths)));
    }
    if (s.SaveHeight)
        store.writeInteger(key, QStringLiteral("GridHeight"), grid.height());
    if (s.SaveWidth)
        store.writeInteger(key, QStringLiteral("GridWidth"), grid.width());
    store.sync();
}

} // namespace kovanta
