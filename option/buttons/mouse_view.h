#pragma once
// MouseView: one picture of the mouse (from above or from the side) with a hot
// spot on every button it shows and a caption naming what the button does.
// Pointing at either lights both; a click on either asks the owner to assign
// that button.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "skin_button.h"
#include "skin_page.h"

struct ButtonAssignment;
class OptionContext;

class MouseView : public CSkinPage {
public:
    static constexpr int kButtons = 16;
    using OpenFn = std::function<void(int buttonIndex)>;

    MouseView(std::u16string skinFile, OpenFn open, const OptionContext& context);

    // The captions of `records` and the primary-click guard over them.
    void Show(const ButtonAssignment (&records)[kButtons]);
    const std::wstring& Caption(int buttonIndex) const;

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    DragMode Drag() const override { return DragMode::kParent; }

private:
    void PairHover(int hoverId, bool hovered);

    OpenFn open_;
    const OptionContext& context_;
    std::array<std::unique_ptr<CSkinButton>, kButtons> captions_;
    std::array<std::unique_ptr<CSkinButton>, kButtons> hotSpots_;
};
