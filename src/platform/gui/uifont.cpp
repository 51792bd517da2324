#include "platform/gui/uifont.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>

namespace kovanta {

UiScale uiScaleOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    return UiScale::fromFont(
        metrics.height(),
        metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
}

UiScale applicationUiScale()
{
    return uiScaleOf(QGuiApplication::font());
}

} // namespace kovanta
