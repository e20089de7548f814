#include "owner_draw_menu.h"

namespace {
thread_local OwnerDrawMenuRouter t_router;
}  // namespace

void SetOwnerDrawMenuRouter(const OwnerDrawMenuRouter& router) { t_router = router; }

bool RouteMenuMeasureItem(MEASUREITEMSTRUCT* item) {
    return item && t_router.measure && t_router.measure(item);
}

bool RouteMenuDrawItem(const DRAWITEMSTRUCT* item) { return item && t_router.draw && t_router.draw(item); }
