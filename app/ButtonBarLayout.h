#pragma once
// The arithmetic of the button bar's place under a page. Portable.

// Where the bar and the page go, in pixels (pure arithmetic of the layout).
struct ButtonBarLayout {
    int barX, barY, barWidth, barHeight;
    int pageWidth, pageHeight;
};

// `pageClientWidth/Height`: the page's client area before the bar is added;
// `pageWindowWidth/Height`: the page's window; `barWidth/Height`: the bar's window.
ButtonBarLayout ComputeButtonBarLayout(int pageClientWidth, int pageClientHeight, int pageWindowWidth,
                                       int pageWindowHeight, int barWidth, int barHeight);
