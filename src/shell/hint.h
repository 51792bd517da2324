#pragma once

#include <QString>

class QAction;
class QWidget;

// Hints of the form "short|long": the part before the bar is the tooltip, the part after it
// is what the status bar shows. A hint without a bar is used for both.
namespace kovanta {

struct HintParts {
    QString tooltip;
    QString status;
};

HintParts splitHint(const QString& hint);

// Sets tooltip and status tip of a widget or action (not null) from one hint.
void applyHint(QWidget* widget, const QString& hint);
void applyHint(QAction* action, const QString& hint);

} // namespace kovanta
