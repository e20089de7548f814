#pragma once
// CSkinDialog: the frame every window of the configuration program shares. At
// creation it loads its skin description file, sizes itself to the "Normal"
// picture, takes the shape of the "Mask" picture, and lets the window create
// its controls from the "BUTTONPOS" entries. It paints the background (and
// whatever the window draws over it) off screen and copies it in one block.
#include <windows.h>

#include <string>
#include <vector>

#include "dialog_base.h"
#include "gdi.h"
#include "skin_description.h"
#include "skin_image.h"
#include "skin_rescale.h"
#include "skin_templates.h"

// The four window pictures that controls cut their state pictures from. Only
// valid during CreateControls.
struct SkinPictures {
    HBITMAP normal = nullptr;  // not owned
    PictureSource over;        // not owned
    PictureSource down;        // not owned
    PictureSource disabled;    // not owned
    // One set of device contexts for every control the window cuts (not
    // owned); null: each control makes its own.
    PictureCutter* cutter = nullptr;
};

class CSkinDialog : public CDialogBase {
public:
    // How a press on the background moves windows.
    enum class DragMode {
        kNone,    // the window stays where it is
        kSelf,    // the window follows the pointer (the main window)
        kParent,  // the top-level window it lies in follows (a page, or a page on a page)
    };

    CSkinDialog(int templateId, std::u16string skinFile)
        : CDialogBase(SkinDialogTemplate(templateId).value_or(DialogTemplateSpec{})), skinFile_(std::move(skinFile)) {}

    // The folder the skin file and its pictures are read from; by default the
    // program's skins folder. Set before creation. Like the skins folder, it
    // holds the 100 % set, and may hold the sets of other scales in "125\",
    // "150\" and "200\": the window takes the set of the skin scale when its
    // skin file is there, else the 100 % set, and keeps that set (its
    // pictures, places and fonts) when the scale changes to one the folder
    // has no set of.
    void SetSkinFolder(std::u16string folder);
    // The folder the skin is read from, with its trailing separator: the set
    // in use of the folder set, or of the program's skins folder. Loose skin
    // pictures (the slider thumb) are found there too.
    std::u16string SkinFolderPath() const;
    const std::u16string& SkinFile() const { return skinFile_; }
    SIZE BackgroundSize() const { return backgroundSize_; }
    HBITMAP Background() const { return background_.get(); }
    // The region the mask gave at creation (owned by the window manager), or null.
    HRGN AppliedRegion() const { return region_; }
    // After the skin scale changed from `from` (SetSkinScale): loads the skin
    // again from the set in use and takes its size, shape and pictures; the
    // controls move to their new places and cut their pictures again. Nothing
    // is made again, so what is open stays open. The window keeps its place.
    void RescaleSkin(const UiScale& from);
    // A window of its own is a dialog under its title; a page inside another
    // is a plain container.
    bool Describe(AccessibleFacts& facts) const override;

protected:
    int OnCreate(CREATESTRUCTW* create) override;
    void OnDestroy() override;
    bool OnPaint() override;
    bool OnLButtonDown(POINT at, UINT keys) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Creates the window's controls from its skin (step 5 of loading a skin).
    virtual void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {}
    // Draws the window's texts over its background, in the off-screen buffer
    // (transparent background mode is already set).
    virtual void PaintOver(HDC dc, const RECT& client) {}
    virtual DragMode Drag() const { return DragMode::kNone; }
    // A press on the background, before any drag starts (pages close their
    // drop-down lists here).
    virtual void OnBackgroundPress(POINT client) {}

    // A rectangle of the window's own layout (where it draws a text) that
    // follows the window into another skin set. The member must live as long
    // as the window object.
    void KeepScaled(RECT& rect) { keptRects_.push_back(&rect); }
    void KeepScaled(SkinRect& rect) { keptSkinRects_.push_back(&rect); }
    // After a rescale, for what the window sets from its skin beyond its
    // controls' places and pictures.
    virtual void OnRescaled(const SkinDescription& skin, const SkinPictures& pictures) {}

    // A text box, drawn like the skinned windows draw their texts: one line or
    // word-wrapped, centred vertically after measuring when `centreVertically`.
    static void DrawSkinText(HDC dc, const std::wstring& text, RECT box, UINT format, bool centreVertically);

private:
    void LoadSkin();
    // For a window with its own folder: the folder's set of `percent` when the
    // window's skin file is there (the 100 % set is the folder itself), else
    // empty.
    std::u16string OwnSetFolder(int percent) const;
    // The mask, the background and the other three window pictures of `skin`.
    void LoadPictures(const SkinDescription& skin, PictureFile& over, PictureFile& down, PictureFile& disabled);
    void ApplyRegion(bool redraw);
    // A top-level window moved to a display of `dpi`: every skinned window of
    // the program takes that display's set, and this one the place Windows
    // suggests.
    void OnDpiChanged(int dpi, const RECT& suggested);
    void PaintBackground(HDC dc, const RECT& client);
    // A press on the background moves `target` with the pointer until the
    // button is released or the capture is lost. The window tracks the drag
    // itself: the system's move loop, started from a posted message, can begin
    // after a quick click's release has gone by, and the window then follows
    // the pointer (or jumps) until the next click.
    bool TrackDrag(UINT message, WPARAM wParam, LPARAM lParam);
    struct DragState {
        HWND target = nullptr;  // not owned; null while no drag runs
        POINT grab{};           // the pointer, in screen coordinates, at the press
        POINT origin{};         // the target's top-left corner at the press
    };
    DragState drag_;
    // Keyboard cues of a top-level window: the focus mark hides until a key is used.
    bool hideFocus_ = false;

    std::u16string skinFile_;
    std::u16string skinFolder_;
    std::u16string ownSet_;  // the set in use below skinFolder_, when that is set
    UiScale ownScale_;       // and its scale
    PictureFile mask_;       // from the skin load until the region is made
    BitmapHandle background_;
    SIZE backgroundSize_{0, 0};
    HRGN region_ = nullptr;  // not owned: the window manager owns it once applied
    std::vector<RECT*> keptRects_;          // not owned: members of the derived window
    std::vector<SkinRect*> keptSkinRects_;  // not owned: members of the derived window
};
