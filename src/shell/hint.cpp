#include "hint.h"

#include <QAction>
#include <QWidget>

namespace kovanta {

HintParts splitHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return {hint, hint};
    return {hint.left(bar), hint.mid(bar + 1)};
}

void applyHint(QWidget* widget, const QString& hint)
{
    const HintParts parts = splitHint(hint);
    widget->setToolTip(parts.tooltip);
    widget->setStatusTip(parts.status);
}

void applyHint(QAction* action, const QString& hint)
{
    const HintParts parts = splitHint(hint);
    action->setToolTip(parts.tooltip);
    action->setStatusTip(parts.status);
}

} // namespace kovanta
