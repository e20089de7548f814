// Every text of every language, measured in the font of the place that shows
// it and held against the room that place really has: the rectangle of the
// generated skin's BUTTONPOS entry, less the padding the drawing code leaves.
// A translation that is a few letters too long is cut off or wraps out of its
// box on screen; here it fails by name.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "assign_model.h"
#include "button_assignment.h"
#include "button_look.h"
#include "gdi.h"
#include "gdi_cache.h"
#include "keyboard_layout.h"
#include "lighting_model.h"
#include "performance_model.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_popup_menu.h"
#include "text_ids.h"
#include "text_language.h"
#include "text_library.h"

namespace {

// ---- the places -------------------------------------------------------------------

enum class Kind {
    kCaption,  // a skinned button's caption, laid out by its alignment mode
    kLine,     // a painted single-line label
    kWrapped,  // a painted label that wraps, in the height of its rectangle
    kMenu,     // an item of a skinned drop-down menu of fixed width
};

struct Place {
    const char* skin;  // skin file of the rectangle; for menus none
    int entry;         // BUTTONPOS entry; for menus the width the code sets
    int fontHeight;
    int weight;
    Kind kind;
    int align;  // a caption's alignment mode
    std::vector<int> texts;
};

constexpr int kNormal = FW_NORMAL;  // every font of the skinned windows

std::vector<int> Run(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) ids.push_back(id);
    return ids;
}

// Each row is read off the code of the window that shows the texts.
const std::vector<Place>& Places() {
    static const std::vector<Place> places{
        // main window: the two tabs
        {"skin_mains.ini", 4, 24, kNormal, Kind::kCaption, 1, {1}},
        {"skin_mains.ini", 5, 24, kNormal, Kind::kCaption, 0, {2}},
        // main window: the badge while the mouse is not connected
        {"skin_mains.ini", 8, 11, kNormal, Kind::kLine, 0, {372}},
        // configuration page: sub-page tabs, Reset, the game field, labels
        {"skin_configr.ini", 1, 15, kNormal, Kind::kCaption, 0, {4}},
        {"skin_configr.ini", 2, 15, kNormal, Kind::kCaption, 0, {5}},
        {"skin_configr.ini", 3, 15, kNormal, Kind::kCaption, 0, {6}},
        {"skin_configr.ini", 14, 15, kNormal, Kind::kCaption, 0, {341}},
        {"skin_configr.ini", 17, 15, kNormal, Kind::kCaption, 1, {370}},
        {"skin_configr.ini", 4, 15, kNormal, Kind::kLine, 0, {8}},
        {"skin_configr.ini", 9, 15, kNormal, Kind::kLine, 0, {9}},
        // profile and macro more-menus
        {nullptr, 30, 15, kNormal, Kind::kMenu, 0, {118, 119, 120}},
        // import question: title, question, the three answers
        {"skin_question.ini", 1, 18, kNormal, Kind::kLine, 0, {119}},
        {"skin_question.ini", 2, 15, kNormal, Kind::kWrapped, 0, {346}},
        {"skin_question.ini", 5, 15, kNormal, Kind::kCaption, 0, {349}},
        {"skin_question.ini", 6, 15, kNormal, Kind::kCaption, 0, {350}},
        {"skin_question.ini", 7, 15, kNormal, Kind::kCaption, 0, {351}},
        // performance page: labels, levels button, polling button and menu
        {"Skin_Function.ini", 1, 15, kNormal, Kind::kWrapped, 0, {12}},
        {"Skin_Function.ini", 2, 15, kNormal, Kind::kWrapped, 0, {13}},
        {"Skin_Function.ini", 4, 15, kNormal, Kind::kWrapped, 0, {15}},
        {"Skin_Function.ini", 8, 15, kNormal, Kind::kWrapped, 0, {17}},
        {"Skin_Function.ini", 9, 15, kNormal, Kind::kWrapped, 0, {20}},
        {"Skin_Function.ini", 11, 15, kNormal, Kind::kWrapped, 0, {21}},
        {"Skin_Function.ini", 12, 15, kNormal, Kind::kWrapped, 0, {22}},
        {"Skin_Function.ini", 7, 15, kNormal, Kind::kCaption, 0, {16}},
        {"Skin_Function.ini", 13, 15, kNormal, Kind::kCaption, 1, Run(121, 124)},
        {nullptr, 48, 15, kNormal, Kind::kMenu, 0, Run(121, 124)},
        // DPI levels dialog: labels, OK and Cancel
        {"Skin_configDPI.ini", 1, 15, kNormal, Kind::kWrapped, 0, {42}},
        {"Skin_configDPI.ini", 2, 15, kNormal, Kind::kWrapped, 0, {43}},
        {"Skin_configDPI.ini", 20, 15, kNormal, Kind::kCaption, 0, {51}},
        {"Skin_configDPI.ini", 21, 15, kNormal, Kind::kCaption, 0, {52}},
        // lighting page: mode, direction and level buttons and their menus
        {"Skin_light.ini", 2, 15, kNormal, Kind::kCaption, 1, Run(126, 129)},
        {"Skin_light.ini", 4, 15, kNormal, Kind::kCaption, 1, Run(132, 135)},
        {"Skin_light.ini", 5, 15, kNormal, Kind::kCaption, 1, Run(136, 141)},
        {nullptr, 228, 15, kNormal, Kind::kMenu, 0, Run(126, 129)},
        {nullptr, 102, 15, kNormal, Kind::kMenu, 0, Run(132, 141)},
        // button page: the two view tabs
        {"skin_button_page.ini", 1, 15, kNormal, Kind::kCaption, 0, {26}},
        {"skin_button_page.ini", 2, 15, kNormal, Kind::kCaption, 0, {27}},
        // assignment dialog: category button and menu, OK and Cancel
        {"skin_Setup.ini", 2, 15, kNormal, Kind::kCaption, 1, {56, 57, 58, 59, 60, 62, 63, 64, 65}},
        {nullptr, 235, 15, kNormal, Kind::kMenu, 0, {56, 57, 58, 59, 60, 62, 63, 64, 65}},
        {"skin_Setup.ini", 3, 15, kNormal, Kind::kCaption, 0, {51}},
        {"skin_Setup.ini", 4, 15, kNormal, Kind::kCaption, 0, {52}},
        // assignment pages: labels, macro repeat button and menu, launch choices
        {"skin_setKey.ini", 1, 15, kNormal, Kind::kLine, 0, {71}},
        {"skin_setMouse.ini", 1, 15, kNormal, Kind::kLine, 0, {72}},
        {"skin_setDPI.ini", 1, 15, kNormal, Kind::kLine, 0, {73}},
        {"skin_setMacro.ini", 1, 15, kNormal, Kind::kLine, 0, {74}},
        {"skin_setMacro.ini", 4, 15, kNormal, Kind::kLine, 0, {95}},
        {"skin_setMacro.ini", 6, 15, kNormal, Kind::kLine, 0, {100}},
        {"skin_setLaunch.ini", 1, 15, kNormal, Kind::kLine, 0, {76}},
        {"skin_setMedia.ini", 1, 15, kNormal, Kind::kLine, 0, {77}},
        {"skin_setShortcut.ini", 1, 15, kNormal, Kind::kLine, 0, {78}},
        {"skin_setMacro.ini", 5, 15, kNormal, Kind::kCaption, 1, Run(96, 99)},
        {nullptr, 297, 14, kNormal, Kind::kMenu, 0, Run(96, 99)},
        {"skin_setLaunch.ini", 2, 15, kNormal, Kind::kCaption, 0, {366}},
        {"skin_setLaunch.ini", 3, 15, kNormal, Kind::kCaption, 1, {368}},
        {"skin_setLaunch.ini", 4, 15, kNormal, Kind::kCaption, 0, {367}},
        // macro page: delay modes, record/stop, insert, labels
        {"skin_Macros.ini", 8, 15, kNormal, Kind::kCaption, 0, {363}},
        {"skin_Macros.ini", 9, 15, kNormal, Kind::kCaption, 0, {364}},
        {"skin_Macros.ini", 10, 15, kNormal, Kind::kCaption, 0, {365}},
        {"skin_Macros.ini", 11, 16, kNormal, Kind::kCaption, 0, {34, 35}},
        {"skin_Macros.ini", 19, 16, kNormal, Kind::kCaption, 0, {38}},
        {"skin_Macros.ini", 22, 16, kNormal, Kind::kLine, 0, {28}},
        {"skin_Macros.ini", 23, 16, kNormal, Kind::kLine, 0, {32}},
        {"skin_Macros.ini", 24, 16, kNormal, Kind::kLine, 0, {29}},
        // insert panel: heading, choice button and menu, apply, cancel
        {"skin_InsertMacro.ini", 1, 16, kNormal, Kind::kLine, 0, {38}},
        {"skin_InsertMacro.ini", 2, 15, kNormal, Kind::kCaption, 1, Run(101, 104)},
        {nullptr, 172, 15, kNormal, Kind::kMenu, 0, Run(101, 104)},
        {"skin_InsertMacro.ini", 4, 15, kNormal, Kind::kCaption, 0, {53, 51}},
        {"skin_InsertMacro.ini", 5, 15, kNormal, Kind::kCaption, 0, {39}},
        // insert panel's delay and recorder sub-panels
        {"skin_InsertMacro1.ini", 1, 15, kNormal, Kind::kLine, 0, {40}},
        {"skin_InsertMacro1.ini", 3, 15, kNormal, Kind::kLine, 0, {41}},
        {"skin_InsertMacro2.ini", 8, 15, kNormal, Kind::kCaption, 0, {363}},
        {"skin_InsertMacro2.ini", 9, 15, kNormal, Kind::kCaption, 0, {364}},
        {"skin_InsertMacro2.ini", 10, 15, kNormal, Kind::kCaption, 0, {365}},
        {"skin_InsertMacro2.ini", 11, 16, kNormal, Kind::kCaption, 0, {34, 35}},
    };
    return places;
}

// Texts Option shows that no skinned place of its own draws: message boxes,
// tooltips, the details box (it scrolls), the file dialog's filter, a window
// title and the launch details' prefixes.
const std::set<int> kShownByThePlatform{15, 110, 345, 347, 348, 361, 362, 371, 373, 374, 375};

// The mouse views' caption buttons (entries 1-16) and the alignment mode they use.
constexpr const char* kMouseViewSkins[2] = {"skin_Mouse.ini", "skin_MousSide.ini"};
constexpr int kMouseViewButtons = 16;
constexpr CaptionAlign kMouseCaptionAlign = CaptionAlign::kLeftFrom45;
constexpr int kMouseCaptionFont = 15;
constexpr int kFunctionMenuWidth = 297;
constexpr int kChoiceEntry = 2;  // a menu page's button that shows the chosen function
constexpr int kDefaultCaptionEntry = 1;
constexpr int kDefaultCaptionFont = 22;

// ---- measuring --------------------------------------------------------------------

std::string Utf8(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::u16string U16(const char* ascii) {
    std::u16string out;
    for (const char* p = ascii; *p; ++p) out.push_back(static_cast<char16_t>(*p));
    return out;
}

struct Language {
    uint16_t id;
    const char* tag;
};
constexpr Language kLanguages[2] = {{kLanguageEnglish, "en"}, {kLanguageGerman, "de"}};

class TextFitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(texts_.Load(GM_STAGE_DIR_WINDOWS, ChooseTextLanguage(ReadLanguageOverride(GM_STAGE_DIR_WINDOWS), GetUserDefaultUILanguage()))) << "no uistr.dll in the staged folder";
        ASSERT_TRUE(dc_);
        skins_ = std::u16string(reinterpret_cast<const char16_t*>(GM_STAGE_DIR_WINDOWS)) + u"\\skins\\";
    }
    void Select(int height, int weight) { SelectObject(dc_.get(), CachedFont(kSkinFontFace, height, 0, weight)); }

    int Width(const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc_.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    // The block DrawText makes of `text` wrapped at `width`.
    SIZE Wrapped(const std::wstring& text, int width, UINT format) {
        RECT box{0, 0, width, 0};
        DrawTextW(dc_.get(), text.c_str(), static_cast<int>(text.size()), &box, format | DT_WORDBREAK | DT_CALCRECT);
        return SIZE{box.right - box.left, box.bottom - box.top};
    }

    SkinRect Rect(const char* skin, int entry) {
        const SkinDescription description(skins_, U16(skin));
        const SkinRect rect = description.ReadEntry(entry).rect;
        EXPECT_FALSE(rect.IsEmpty()) << skin << " has no rectangle at entry " << entry;
        return rect;
    }

    static std::string Where(const char* skin, int entry) {
        std::ostringstream s;
        s << skin << " entry " << entry;
        return s.str();
    }

    std::string Name(int id, const Language& language, const std::wstring& text) {
        std::ostringstream s;
        s << "text " << id << " (" << language.tag << ") '" << Utf8(text) << "'";
        return s.str();
    }

    // One line of `text` in `room` pixels.
    void ExpectLine(int id, const Language& language, const std::wstring& text, int room, const std::string& where) {
        const int width = Width(text);
        EXPECT_LE(width, room) << Name(id, language, text) << " is " << width << " px wide, room " << room
                               << " px in " << where;
    }

    // `text` wrapped in a box: no word wider than the box, every line inside its height.
    void ExpectWrapped(int id, const Language& language, const std::wstring& text, int width, int height,
                       UINT format, const std::string& where) {
        std::wistringstream words(text);
        for (std::wstring word; words >> word;) {
            const int w = Width(word);
            EXPECT_LE(w, width) << Name(id, language, text) << ": the word '" << Utf8(word) << "' is " << w
                                << " px wide, room " << width << " px in " << where;
        }
        const SIZE block = Wrapped(text, width, format);
        EXPECT_LE(block.cy, height) << Name(id, language, text) << " wraps to " << block.cy << " px high, room "
                                    << height << " px (" << width << " px wide) in " << where;
    }

    // A caption of a skinned button, where LayoutCaption puts it.
    void ExpectCaption(int id, const Language& language, const std::wstring& text, const SkinRect& button,
                       CaptionAlign align, const std::string& where) {
        const CaptionLayout layout = LayoutCaption(align, SkinRect{0, 0, button.Width(), button.Height()});
        switch (layout.kind) {
            case CaptionKind::kWrapped:
                ExpectWrapped(id, language, text, layout.rect.Width(), layout.rect.Height(), layout.format, where);
                break;
            case CaptionKind::kSingleLine:
                ExpectLine(id, language, text, layout.rect.Width(), where);
                break;
            case CaptionKind::kTextOut:
                ExpectLine(id, language, text, button.Width() - layout.x, where);
                break;
        }
    }

    CTextLibrary texts_;
    MemoryDC dc_{nullptr};
    std::u16string skins_;
};

// ---- the drawn width of a menu item -----------------------------------------------

// The platform adds its own margin to an owner-drawn item's width, so the
// room is read from the rectangle the menu hands to the item's drawing.
int g_drawnItemWidth = 0;

LRESULT CALLBACK MenuOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MEASUREITEM:
            if (CSkinPopupMenu::RouteMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlType == ODT_MENU) g_drawnItemWidth = item->rcItem.right - item->rcItem.left;
            if (CSkinPopupMenu::RouteDrawItem(item)) return TRUE;
            break;
        }
        case WM_ENTERIDLE:
            // The menu is on screen and drawn: nothing more to see.
            EndMenu();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CALLBACK CloseStuckMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

// The width of the rectangle an item of a skinned menu of `width` is drawn in.
int DrawnItemWidth(int width, int fontHeight) {
    static const wchar_t kClass[] = L"GmTextFitMenuOwner";
    WNDCLASSW wc{};
    wc.lpfnWndProc = &MenuOwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);  // fails harmlessly once it exists
    HWND owner = CreateWindowExW(0, kClass, L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (!owner) return 0;
    SetForegroundWindow(owner);
    g_drawnItemWidth = 0;
    {
        CSkinPopupMenu menu(CachedFont(kSkinFontFace, fontHeight, 0, FW_NORMAL));
        menu.AddItem(1001, L"x");
        menu.SetWidth(width);
        // Only a way out should the menu never go idle; nothing is timed.
        const UINT_PTR timer = SetTimer(nullptr, 0, 5000, &CloseStuckMenu);
        menu.Track(owner, 100, 100);
        KillTimer(nullptr, timer);
    }
    DestroyWindow(owner);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    return g_drawnItemWidth;
}

// The text of an item starts 2 px into its rectangle (CSkinPopupMenu::Draw).
constexpr int kMenuTextIndent = 2;


}  // namespace

// ---- the tests --------------------------------------------------------------------

TEST_F(TextFitTest, TheSkinFontIsAScalableArial) {
    // Measured in a stand-in font, every number below would be meaningless.
    Select(15, kNormal);
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(dc_.get(), &metrics));
    EXPECT_TRUE(metrics.tmPitchAndFamily & TMPF_TRUETYPE) << "Arial is not a TrueType face here";
    EXPECT_EQ(metrics.tmWeight, FW_NORMAL);
    // Arial's own proportions: a 15-pixel line holds "Mm" in about 24 pixels.
    EXPECT_GT(Width(L"Mm"), 18);
    EXPECT_LT(Width(L"Mm"), 30);
}

TEST_F(TextFitTest, EveryTextOptionDrawsHasAPlace) {
    // A new text without a row here would never be measured.
    std::set<int> placed;
    for (const Place& place : Places()) placed.insert(place.texts.begin(), place.texts.end());
    placed.insert(50);   // the DPI rows' captions, measured below
    placed.insert(360);  // the lighting legend, measured below
    placed.insert({23, 24, 25});  // the lighting labels, measured below
    for (int id : FunctionNameTextIds()) placed.insert(id);  // measured with the function names
    for (int id : kOptionTextIds)
        EXPECT_TRUE(placed.count(id) || kShownByThePlatform.count(id)) << "text " << id << " has no place";
}

TEST_F(TextFitTest, CaptionsAndLabelsFitTheirSkinRectangles) {
    for (const Language& language : kLanguages) {
        texts_.SetLanguage(language.id);
        for (const Place& place : Places()) {
            if (place.kind == Kind::kMenu) continue;
            const SkinRect rect = Rect(place.skin, place.entry);
            const std::string where = Where(place.skin, place.entry);
            Select(place.fontHeight, place.weight);
            for (int id : place.texts) {
                const std::wstring text = texts_.Text(id);
                ASSERT_FALSE(text.empty()) << "text " << id << " (" << language.tag << ") is missing";
                switch (place.kind) {
                    case Kind::kCaption:
                        ExpectCaption(id, language, text, rect, CaptionAlignFromNumber(place.align), where);
                        break;
                    case Kind::kLine:
                        ExpectLine(id, language, text, rect.Width(), where);
                        break;
                    case Kind::kWrapped:
                        ExpectWrapped(id, language, text, rect.Width(), rect.Height(), DT_NOPREFIX, where);
                        break;
                    case Kind::kMenu:
                        break;
                }
            }
        }
    }
}

TEST_F(TextFitTest, PaintedLabelsOfTheLightingAndDpiPagesFit) {
    for (const Language& language : kLanguages) {
        texts_.SetLanguage(language.id);
        // The lighting page's labels wrap in bands the page places itself.
        Select(15, kNormal);
        for (const int id : {23, 24, 25})
            ExpectWrapped(id, language, texts_.Text(id), lighting::kLabelRight - lighting::kLabelLeft,
                          lighting::kLabelBandHeight, DT_NOPREFIX, "the lighting page's label band");

        // The caption under the swatches the mouse never gets spans them, 16 px out on either side.
        const int firstSpare = 7 + lighting::kSentSwatchCount;
        const int lastSpare = 7 + lighting::kSwatchCount - 1;
        const SkinRect first = Rect("Skin_light.ini", firstSpare);
        const SkinRect last = Rect("Skin_light.ini", lastSpare);
        Select(13, kNormal);
        ExpectLine(360, language, texts_.Text(360), last.right + 16 - (first.left - 16),
                   "Skin_light.ini entries " + std::to_string(firstSpare) + "-" + std::to_string(lastSpare));

        // The DPI levels dialog names each row "<level> <n>", centred in entries 5, 8, 11, 14 and 17.
        Select(15, kNormal);
        const std::wstring level = texts_.Text(50);
        for (int row = 0; row < kDpiLevels; ++row) {
            const int entry = 5 + 3 * row;
            const std::u16string caption =
                performance::RowCaption(std::u16string(level.begin(), level.end()), row);
            ExpectLine(50, language, std::wstring(caption.begin(), caption.end()),
                       Rect("Skin_configDPI.ini", entry).Width(), Where("Skin_configDPI.ini", entry));
        }
    }
}

TEST_F(TextFitTest, MenuItemsFitTheirMenusWidths) {
    std::set<std::pair<int, int>> sizes;  // width, font height
    for (const Place& place : Places())
        if (place.kind == Kind::kMenu) sizes.insert({place.entry, place.fontHeight});
    sizes.insert({kFunctionMenuWidth, 15});
    std::map<std::pair<int, int>, int> drawn;
    for (const auto& size : sizes) {
        const int width = DrawnItemWidth(size.first, size.second);
        ASSERT_GE(width, size.first) << "a menu " << size.first << " px wide was never drawn";
        drawn[size] = width;
    }

    for (const Language& language : kLanguages) {
        texts_.SetLanguage(language.id);
        for (const Place& place : Places()) {
            if (place.kind != Kind::kMenu) continue;
            Select(place.fontHeight, place.weight);
            const int room = drawn[{place.entry, place.fontHeight}] - kMenuTextIndent;
            const std::string where = "a menu of width " + std::to_string(place.entry);
            for (int id : place.texts) ExpectLine(id, language, texts_.Text(id), room, where);
        }
        // The assignment pages' drop-downs of function names.
        Select(15, kNormal);
        const int room = drawn[{kFunctionMenuWidth, 15}] - kMenuTextIndent;
        for (const FunctionClassInfo& page : FunctionClassTable())
            for (const assign::MenuEntry& entry : assign::MenuOf(page.functionClass))
                ExpectLine(entry.textId, language, texts_.Text(entry.textId), room,
                           "the function menu of " + std::string(page.skinFile));
    }
}

TEST_F(TextFitTest, FunctionNamesFitEveryButtonThatShowsThem) {
    for (const Language& language : kLanguages) {
        texts_.SetLanguage(language.id);
        Select(kMouseCaptionFont, kNormal);
        // Any button can hold any function: each name must fit every caption of both views.
        for (const char* skin : kMouseViewSkins) {
            const SkinDescription description(skins_, U16(skin));
            int captions = 0;
            for (int entry = 1; entry <= kMouseViewButtons; ++entry) {
                const SkinRect rect = description.ReadEntry(entry).rect;
                if (rect.IsEmpty()) continue;  // a button the picture does not show
                ++captions;
                for (int id : FunctionNameTextIds())
                    ExpectCaption(id, language, texts_.Text(id), rect, kMouseCaptionAlign, Where(skin, entry));
            }
            EXPECT_GT(captions, 0) << skin << " has no caption buttons";
        }
        for (int id : FunctionNameTextIds())
            EXPECT_LE(texts_.Text(id).size(), static_cast<size_t>(kFunctionNameBudget))
                << Name(id, language, texts_.Text(id)) << " is longer than " << kFunctionNameBudget << " characters";

        // A menu page's choice button shows the function chosen from its menu.
        for (const FunctionClassInfo& page : FunctionClassTable()) {
            if (assign::MenuOf(page.functionClass).empty()) continue;
            const SkinRect rect = Rect(page.skinFile, kChoiceEntry);
            for (const assign::MenuEntry& entry : assign::MenuOf(page.functionClass))
                ExpectCaption(entry.textId, language, texts_.Text(entry.textId), rect, CaptionAlign::kLeft,
                              Where(page.skinFile, kChoiceEntry));
        }

        // The default page names the button's default function, large and centred.
        Select(kDefaultCaptionFont, kNormal);
        const SkinRect defaults = Rect("skin_SetDefault.ini", kDefaultCaptionEntry);
        for (int button = 0; button < kButtonCount; ++button) {
            ButtonAssignment record;
            ResetToDefault(record, button);
            const AssignmentCaption caption = CaptionOf(record, SystemKeyboardLayout());
            if (caption.textId == 0) continue;
            ExpectLine(caption.textId, language, texts_.Text(caption.textId), defaults.Width(),
                       Where("skin_SetDefault.ini", kDefaultCaptionEntry));
        }
    }
}

TEST_F(TextFitTest, TheTrayTipFitsItsField) {
    for (const Language& language : kLanguages) {
        texts_.SetLanguage(language.id);
        const std::wstring tip = texts_.Text(kTextTrayTip);
        EXPECT_FALSE(tip.empty());
        EXPECT_LT(tip.size(), static_cast<size_t>(kTrayTipUnits))
            << Name(kTextTrayTip, language, tip) << " has " << tip.size() << " characters, room "
            << kTrayTipUnits - 1;
    }
}
