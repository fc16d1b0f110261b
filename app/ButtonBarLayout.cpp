#include "app/ButtonBarLayout.h"

#include <algorithm>

ButtonBarLayout ComputeButtonBarLayout(int pageClientWidth, int pageClientHeight, int pageWindowWidth,
                                       int pageWindowHeight, int barWidth, int barHeight) {
    ButtonBarLayout layout{};
    const int width = std::max(pageWindowWidth, barWidth);
    // A page narrower than the bar (the 187-unit Install Conditions page)
    // would put the bar at a negative x and cut off its Cancel button: such a
    // page grows until its client area holds the whole bar, which then starts
    // at the left edge. Pages at least as wide as the bar are centred as usual.
    const int frameWidth = pageWindowWidth - pageClientWidth;
    layout.barX = std::max(0, (pageClientWidth - barWidth) / 2);
    layout.barY = pageClientHeight;
    layout.barWidth = width;
    layout.barHeight = barHeight;
    layout.pageWidth = std::max(width, barWidth + frameWidth);
    layout.pageHeight = pageWindowHeight + barHeight;
    return layout;
}
