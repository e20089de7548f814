#pragma once
// CProfileBar: the configuration page's item bar over the profiles: the
// drop-down list to pick the current profile, new, delete, rename, and the
// more-menu with copy, import and export. The profile rules are
// profile_actions'; the page applies the changes to the mouse.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "item_bar.h"
#include "item_bar_model.h"

class OptionContext;
class OptionSession;
class SkinDescription;

class CProfileBar {
public:
    struct Handlers {
        // Before every click of a bar button: what the page closes first.
        std::function<void(HWND button)> beforeClick;
        // Saves the store and has the Monitor apply it (all of it, or what changed).
        std::function<void(bool full)> apply;
        // The current profile's name was shown again.
        std::function<void()> nameShown;
        // Another profile became current, or the current one changed.
        std::function<void()> switched;
    };
    // A rename in progress, as it stands: the profile current now, its name,
    // and what is typed so far.
    struct PendingRename {
        int32_t position;
        std::u16string oldName;
        std::u16string typed;
    };

    CProfileBar(const OptionContext& context, Handlers handlers);
    CProfileBar(const CProfileBar&) = delete;
    CProfileBar& operator=(const CProfileBar&) = delete;

    void CreateButtons(HWND page, const SkinDescription& skin, const SkinPictures& pictures);
    void CreateListAndBox(HWND page, const SkinDescription& skin);

    // Refills the list and shows the current name.
    void Refresh();
    void CloseFor(HWND control) { bar_.CloseFor(control); }
    bool OnCommand(WORD id, WORD code, HWND control) { return bar_.OnCommand(id, code, control); }
    bool Renaming() const { return model_.Renaming(); }
    void FinishRename() { bar_.FinishRename(); }
    bool CancelRename() { return bar_.CancelRename(); }
    bool CloseTransients() { return bar_.CloseTransients(); }
    std::optional<PendingRename> RenameInProgress() const;

private:
    std::u16string CurrentName() const;
    void ShowName(const std::u16string& name);
    void RefillList();
    void Select(int position);
    void Rename(const std::u16string& typed);
    void Add();
    void Delete();
    void Copy();
    void Export();
    void Import();
    std::wstring OptionText(UINT id) const;

    const OptionContext& context_;
    OptionSession& session_;
    Handlers handlers_;
    HWND page_ = nullptr;
    ItemBarModel model_;
    CItemBar bar_{model_};
};

// A path as a file dialog gives it, without the blanks around it.
std::wstring TrimmedPath(const wchar_t* path);
