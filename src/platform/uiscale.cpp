#include "platform/uiscale.h"

#include <algorithm>
#include <cmath>

namespace kovanta {

UiScale UiScale::fromFont(int fontHeight, int alphabetWidth)
{
    const double byHeight =
        fontHeight >= 1 ? static_cast<double>(fontHeight) / kDesignFontHeight : 1.0;
    const double byWidth =
        alphabetWidth >= 1 ? static_cast<double>(alphabetWidth) / (52.0 * kDesignLetterWidth) : 0.0;
    return UiScale(std::max(byHeight, byWidth));
}

UiScale UiScale::fromFontHeight(int fontHeight)
{
    return fromFont(fontHeight, 0);
}

int UiScale::px(int designed) const
{
    const long r = std::lround(designed * factor_);
    if (designed > 0 && r < 1)
        return 1;
    return static_cast<int>(r);
}

int UiScale::designed(int pixels) const
{
    return static_cast<int>(std::lround(pixels / factor_));
}

} // namespace kovanta
