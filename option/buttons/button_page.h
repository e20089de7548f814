#pragma once
// ButtonPage: the configuration page's sub-page that shows the mouse. Two tabs
// switch between the top and the side view; a click on a button of either
// opens the assignment dialog for it, and an accepted assignment goes into the
// current profile and to the mouse at once.
#include <memory>

#include "lazy_page.h"
#include "mouse_view.h"
#include "skin_button.h"
#include "skin_page.h"

class OptionContext;
class OptionSession;

class ButtonPage : public CSkinPage {
public:
    explicit ButtonPage(const OptionContext& context);
    ~ButtonPage() override;

    void Refresh() override;

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;

private:
    void ShowView(int view);
    // The view shows the current profile's buttons.
    void ShowRecords(MouseView& view) const;
    void OpenAssignment(int buttonIndex);

    const OptionContext& context_;
    OptionSession& session_;
    std::unique_ptr<CSkinButton> tabs_[2];
    SkinRect viewsArea_{};  // where the views lie
    // The side view is built when its tab is first chosen.
    LazyPage<MouseView> views_[2];
    int shown_ = 0;
};
