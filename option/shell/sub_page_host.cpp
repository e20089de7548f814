#include "sub_page_host.h"

#include "button_page.h"
#include "lighting_page.h"
#include "option_context.h"
#include "option_session.h"
#include "option_text_ids.h"
#include "performance_page.h"

namespace {

constexpr int kTabEntries[3] = {1, 2, 3};
constexpr UINT kTabTexts[3] = {option_text::kButtonsTab, option_text::kPerformanceTab, option_text::kLightingTab};

}  // namespace

void CSubPageHost::CreateTabs(HWND page, const SkinDescription& skin, const SkinPictures& pictures,
                              std::function<void(HWND tab)> beforeClick) {
    beforeClick_ = std::move(beforeClick);
    for (int i = 0; i < 3; ++i) {
        tabs_[i] = CSkinPage::MakeButton(page, skin, kTabEntries[i], pictures);
        if (!tabs_[i]) continue;
        tabs_[i]->SetText(context_.Text(kTabTexts[i]));
        tabs_[i]->SetAccessibleRole(AccessibleRole::kPageTab);
        tabs_[i]->SetPageCaption(15, CaptionAlign::kCentredWrapped);
        tabs_[i]->onClicked = [this, i, tab = tabs_[i]->hwnd()] {
            if (beforeClick_) beforeClick_(tab);
            Show(static_cast<SubPage>(i));
        };
    }
    CSkinButtonBase::JoinChoice({tabs_[0].get(), tabs_[1].get(), tabs_[2].get()});
    if (tabs_[0]) tabs_[0]->SetCheck(1);
}

std::unique_ptr<CSkinPage> CSubPageHost::MakePage(SubPage page) {
    switch (page) {
        case SubPage::kButtons: return std::make_unique<ButtonPage>(context_);
        case SubPage::kPerformance: return std::make_unique<PerformancePage>(context_);
        case SubPage::kLighting: return std::make_unique<LightingPage>(context_);
    }
    return nullptr;
}

void CSubPageHost::CreatePages(HWND page, const SkinRect& area) {
    for (int i = 0; i < 3; ++i) pages_[i].Plan(page, area, [this, i] { return MakePage(static_cast<SubPage>(i)); });
    pages_[0].Show(true);
    shown_ = SubPage::kButtons;
}

void CSubPageHost::Show(SubPage page) {
    if (page == shown_) return;
    // Made before the shown page goes, so the area never shows empty.
    pages_[static_cast<int>(page)].Build();
    pages_[static_cast<int>(shown_)].Show(false);
    pages_[static_cast<int>(page)].Show(true);
    shown_ = page;
    for (int i = 0; i < 3; ++i)
        if (tabs_[i]) tabs_[i]->SetCheck(i == static_cast<int>(page) ? 1 : 0);
}

HWND CSubPageHost::Step(int delta) {
    const int count = static_cast<int>(tabs_.size());
    const int next = ((static_cast<int>(shown_) + delta) % count + count) % count;
    HWND tab = tabs_[next] ? tabs_[next]->hwnd() : nullptr;
    if (beforeClick_) beforeClick_(tab);
    Show(static_cast<SubPage>(next));
    return tab;
}

void CSubPageHost::Refresh() {
    if (!context_.Session().current()) return;
    for (auto& page : pages_)
        if (CSkinPage* built = page.Built()) built->Refresh();
}

void CSubPageHost::RefreshFromMonitor() {
    if (CSkinPage* page = pages_[static_cast<int>(SubPage::kPerformance)].Built()) page->Refresh();
}
