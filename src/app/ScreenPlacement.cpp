#include "app/ScreenPlacement.h"

#include <algorithm>

namespace glimpa {

namespace {
// Enough of the title bar to grab it with the mouse.
constexpr Twips kTitleBarHeight = 300;
constexpr Twips kGrip = 600;
constexpr Twips kOffset = 1000;
}  // namespace

void keepTitleBarOnScreen(Form& window, const std::vector<TwipsRect>& screens) {
    if (screens.empty()) {
        return;
    }
    const Twips left = window.left();
    const Twips right = left + window.width();
    const Twips top = window.top();
    for (const TwipsRect& screen : screens) {
        const Twips overlapLeft = std::max(left, screen.left);
        const Twips overlapRight = std::min(right, screen.left + screen.width);
        const bool titleRowOnScreen =
            top + kTitleBarHeight > screen.top && top < screen.top + screen.height;
        if (titleRowOnScreen && overlapRight - overlapLeft >= std::min(kGrip, window.width())) {
            return;
        }
    }
    const TwipsRect& primary = screens.front();
    window.setLeft(primary.left +
                   std::min(kOffset, std::max<Twips>(0, primary.width - window.width())));
    window.setTop(primary.top +
                  std::min(kOffset, std::max<Twips>(0, primary.height - window.height())));
}

}  // namespace glimpa
