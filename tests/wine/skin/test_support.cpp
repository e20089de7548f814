#include "test_support.h"

#include <commctrl.h>

#include <fstream>

#include "../../support/dib_section.h"
#include "app_messages.h"
#include "bitmap_edit.h"
#include "click_slider.h"
#include "control_tooltip.h"
#include "list_box_model.h"
#include "skin_scale.h"

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void WriteBytes(const std::filesystem::path& file, const void* data, size_t size) {
    std::ofstream out(file, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void WriteText(const std::filesystem::path& file, const std::string& text) { WriteBytes(file, text.data(), text.size()); }

void WriteBmpRows(const std::filesystem::path& file, int width, int height, const std::vector<COLORREF>& pixels) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = static_cast<DWORD>(stride * height);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::vector<unsigned char> bytes(sizeof fh + sizeof ih + ih.biSizeImage);
    memcpy(bytes.data(), &fh, sizeof fh);
    memcpy(bytes.data() + sizeof fh, &ih, sizeof ih);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = bytes.data() + fh.bfOffBits + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixels[static_cast<size_t>(y) * width + x];
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    WriteBytes(file, bytes.data(), bytes.size());
}

BitmapHandle MakeBitmapFrom(int width, int height, const std::vector<COLORREF>& pixels) {
    return MakeDibSection(width, height, [&](int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; });
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    MemoryDC dc(nullptr);
    SelectGuard select(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

ScaleRestorer::~ScaleRestorer() { SetSkinScale(100); }

std::wstring ToolTextOf(HWND control) {
    HWND tooltip = CControlTooltip::SharedTooltipOf(control);
    if (!tooltip) return {};
    wchar_t text[1024] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = control;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&info));
    return text;
}

bool RecordingParent::CreateTopLevel(int width, int height) {
    CreateParams p;
    p.className = L"GmSkinTestParent";
    p.title = L"skin test parent";
    p.style = WS_POPUP | WS_VISIBLE;
    p.x = 20;
    p.y = 20;
    p.width = width;
    p.height = height;
    editMessage = BitmapEditKillFocusMessage();
    return Create(p);
}

bool RecordingParent::OnCommand(WORD id, WORD code, HWND control) {
    if (code == BN_CLICKED && control) {
        clicks.push_back(control);
        commandIds.push_back(id);
    }
    if (code == LBN_SELCHANGE && control)
        picks.push_back(static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0)));
    return false;
}

LRESULT RecordingParent::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_BUTTON_HOVER) {
        hovers.emplace_back(wParam, lParam);
        return 0;
    }
    if (message == kSliderNotify) {
        sliderReports.push_back(
            SliderReport{static_cast<int>(wParam), static_cast<int>(lParam), slider && slider->Released()});
        return 0;
    }
    if (message == ListRowEditor::kRowEditedMessage) {
        rowEdits.emplace_back(wParam, lParam);
        return 0;
    }
    if (message == editMessage && editMessage != 0) {
        edits.push_back(wParam);
        return 0;
    }
    return CWindow::HandleMessage(message, wParam, lParam);
}
