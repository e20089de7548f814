#pragma once
// LightingPage: the configuration page's sub-page for the light mode, its
// speed or brightness, the direction of the colour run and the DPI colours.
// Every choice goes into the current profile and is applied at once.
#include <array>
#include <memory>

#include "lighting_model.h"
#include "skin_button.h"
#include "skin_page.h"

class OptionContext;
class OptionSession;

class LightingPage : public CSkinPage {
public:
    explicit LightingPage(const OptionContext& context);

    // Captions, enabled controls and swatch colours from the current profile.
    void Refresh() override;

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    void PaintOver(HDC dc, const RECT& client) override;

private:
    // Shows `record` (or, without a current profile, nothing to edit).
    void ShowLook(const ProfileRecord* record);
    void ShowLevelCaption(const ProfileRecord& record);
    void ShowDirectionCaption(const ProfileRecord& record);
    void InvalidatePainted();
    void ShowMenu(lighting::Menu menu, CSkinButton& button);
    void OnMenuCommand(UINT command);
    void ChooseColour(int swatch);
    // The row under the swatches: their level numbers and the stored-only caption.
    RECT LegendBand() const;

    const OptionContext& context_;
    OptionSession& session_;
    std::unique_ptr<CSkinButton> modeButton_;
    std::unique_ptr<CSkinButton> directionButton_;
    std::unique_ptr<CSkinButton> levelButton_;
    std::array<std::unique_ptr<CSkinColorButton>, lighting::kSwatchCount> swatches_;
    std::array<RECT, lighting::kSwatchCount> swatchRects_{};
    bool swatchesEnabled_ = false;
    // The colour dialog's sixteen custom colours, kept while Option runs so a
    // colour mixed for one level can be picked again for another.
    std::array<COLORREF, 16> customColours_{};
};
