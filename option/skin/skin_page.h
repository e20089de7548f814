#pragma once
// CSkinPage: a skinned child page (template 131) that lies on an area of its
// parent: the configuration page's sub-pages and the macro page. The pages
// that fill one in derive from it and add their controls.
#include <memory>
#include <string>

#include "skin_button.h"
#include "skin_dialog.h"

class CSkinPage : public CSkinDialog {
public:
    explicit CSkinPage(std::u16string skinFile) : CSkinDialog(skin_template::kPage, std::move(skinFile)) {}
    // A page on another empty template (the mouse views and the assignment pages use 129).
    CSkinPage(int templateId, std::u16string skinFile) : CSkinDialog(templateId, std::move(skinFile)) {}

    // Creates the page hidden inside `parent`, at `area` of the parent's client.
    bool CreateAt(HWND parent, const SkinRect& area);
    // Shows the current profile again (after a profile switch, a reset, or a
    // change the Monitor made).
    virtual void Refresh() {}
    // Closes what the page has open (a drop-down, a rename) before the main
    // window handles a command or a click.
    virtual void CloseTransient() {}

    // The skinned button of `entry` in `parent`; null when it cannot be made
    // (the window works on without it).
    static std::unique_ptr<CSkinButton> MakeButton(HWND parent, const SkinDescription& skin, int entry,
                                                   const SkinPictures& pictures);

protected:
    DragMode Drag() const override { return DragMode::kParent; }
    // A page never ends itself: Enter and Esc that reach it (an edit box of
    // the page hands them to its parent) go on to the main window.
    void OnOK() override;
    void OnCancel() override;
};
