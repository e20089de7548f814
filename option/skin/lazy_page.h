#pragma once
// LazyPage: a page that is built (its window, controls and skin pictures) the
// first time it is shown, so opening a window costs only the pages in sight.
// A page built late reads the session as it is then, so nothing it would have
// shown meanwhile is lost; until then it has nothing to refresh.
#include <windows.h>

#include <functional>
#include <memory>
#include <utility>

#include "debug_output.h"
#include "button_pos.h"

template <typename Page>
class LazyPage {
public:
    using Factory = std::function<std::unique_ptr<Page>()>;

    // Where the page lies (`area` of `parent`'s client) and how it is made;
    // nothing is built yet. `area` belongs to the parent window and is read
    // when the page is built, so a parent that moves its layout meanwhile
    // (another skin set) places the page where the layout is then.
    void Plan(HWND parent, const SkinRect& area, Factory make) {
        parent_ = parent;
        area_ = &area;
        make_ = std::move(make);
        failed_ = false;
    }
    // The page when it has been built, else null.
    Page* Built() const { return page_.get(); }
    // The page, built now (hidden) when it was not; null when it cannot be made.
    Page* Build() {
        if (page_ || failed_ || !make_ || !parent_ || !area_) return page_.get();
        // A dialog made now puts the focus on its first control; showing a
        // page never moved the focus, so it goes back where it was.
        HWND focus = GetFocus();
        page_ = make_();
        if (!page_ || !page_->CreateAt(parent_, *area_)) {
            // Not tried again on every show: the window works on without it.
            DebugOut(L"LazyPage: a page could not be made\n");
            page_.reset();
            failed_ = true;
        }
        if (GetFocus() != focus && (!focus || IsWindow(focus))) SetFocus(focus);
        return page_.get();
    }
    // Shows the page, built first when it is not yet; or hides a built one.
    void Show(bool show) {
        if (!show) {
            if (page_) ShowWindow(page_->hwnd(), SW_HIDE);
            return;
        }
        if (Page* page = Build()) ShowWindow(page->hwnd(), SW_SHOW);
    }
    // The page is destroyed; a later show builds it again.
    void Reset() {
        page_.reset();
        failed_ = false;
    }

private:
    HWND parent_ = nullptr;  // not owned
    const SkinRect* area_ = nullptr;  // not owned: a member of the parent window
    Factory make_;
    std::unique_ptr<Page> page_;
    bool failed_ = false;
};
