#include "app/ButtonBarLayout.h"

#include <algorithm>

ButtonBarLayout ComputeButtonBarLayout(int pageClientWidth, int pageClientHeight, int pageWindowWidth,
                                       int pageWindowHeight, int barWidth, int barHeight) {
    ButtonBarLayout layout{};
    const int width = std::max(pageWindowWidth, barWidth);
    layout.barX = (pageClientWidth - barWidth) / 2;
    layout.barY = pageClientHeight;
    layout.barWidth = width;
    layout.barHeight = barHeight;
    layout.pageWidth = width;
    layout.pageHeight = pageWindowHeight + barHeight;
    return layout;
}
