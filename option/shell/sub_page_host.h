#pragma once
// CSubPageHost: the lower part of the configuration page: the button,
// performance and lighting sub-pages, one shown at a time, behind three tabs.
#include <array>
#include <functional>
#include <memory>

#include "lazy_page.h"
#include "skin_button.h"
#include "skin_page.h"

class OptionContext;

class CSubPageHost {
public:
    enum class SubPage { kButtons = 0, kPerformance = 1, kLighting = 2 };

    explicit CSubPageHost(const OptionContext& context) : context_(context) {}

    // The tabs; `beforeClick` runs before a tab's click is carried out.
    void CreateTabs(HWND page, const SkinDescription& skin, const SkinPictures& pictures,
                    std::function<void(HWND tab)> beforeClick);
    // The pages, in `area` of `page`; the button page shows. The others are
    // built when first shown, where `area` says then: it belongs to `page`,
    // which keeps it up to date across skin sets, and outlives the host's pages.
    void CreatePages(HWND page, const SkinRect& area);

    void Show(SubPage page);
    // Shows the page `delta` tabs on from the shown one, wrapping, as a click
    // on its tab would; returns that tab (null when it could not be made).
    HWND Step(int delta);
    // The page's window; null while it was never shown.
    CSkinPage* Window(SubPage page) const { return pages_[static_cast<int>(page)].Built(); }
    // Every page shows the current profile again (none without one); a page
    // not built yet reads it when it is.
    void Refresh();
    // The performance page shows the DPI level and pointer speed again.
    void RefreshFromMonitor();

private:
    std::unique_ptr<CSkinPage> MakePage(SubPage page);

    const OptionContext& context_;
    std::array<std::unique_ptr<CSkinButton>, 3> tabs_;
    std::array<LazyPage<CSkinPage>, 3> pages_;
    std::function<void(HWND)> beforeClick_;
    SubPage shown_ = SubPage::kButtons;
};
