#include "grid/agridsettings.h"

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

} // namespace kovanta
