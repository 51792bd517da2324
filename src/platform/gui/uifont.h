#pragma once

#include "platform/uiscale.h"

class QFont;

namespace kovanta {

// The layout scale of a font (see UiScale::fromFont), measured with the font's metrics.
UiScale uiScaleOf(const QFont& font);
// The layout scale of the application's user-interface font. Needs a QGuiApplication.
UiScale applicationUiScale();

} // namespace kovanta
