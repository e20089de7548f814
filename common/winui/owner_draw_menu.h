#pragma once
// Owner-drawn menu items carry no window: WM_MEASUREITEM and WM_DRAWITEM of a
// menu go to whichever window tracks it. Every window of ours hands them to the
// one router that the layer which builds such menus registers, so the framework
// never needs to know that layer's menu classes.
#include <windows.h>

struct OwnerDrawMenuRouter {
    // Each returns false when the item is not one of the layer's.
    bool (*measure)(MEASUREITEMSTRUCT* item) = nullptr;
    bool (*draw)(const DRAWITEMSTRUCT* item) = nullptr;
};

// Replaces the router of the calling thread's windows (menus live on one thread).
void SetOwnerDrawMenuRouter(const OwnerDrawMenuRouter& router);
bool RouteMenuMeasureItem(MEASUREITEMSTRUCT* item);
bool RouteMenuDrawItem(const DRAWITEMSTRUCT* item);
