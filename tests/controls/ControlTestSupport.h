#pragma once
#include "controls/IPickerHost.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"

#include <vector>

// A host that records what a picker model asks of it.
class FakePickerHost : public IPickerHost {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const Message&) const = default;
    };

    void Post(UINT message, WPARAM wParam, LPARAM lParam) override {
        posted.push_back({message, wParam, lParam});
    }
    void Invalidate(const CRect& rect) override { invalidated.push_back(rect); }
    void Hide() override { ++hides; }
    void SetCapture(bool capture) override { captured = capture; }
    void FocusPreviousTabItem() override { ++focusBack; }

    std::vector<Message> posted;
    std::vector<CRect> invalidated;
    int hides = 0;
    int focusBack = 0;
    bool captured = false;
};

// A raster of the given size in a memory context, read back pixel by pixel.
struct Canvas {
    Canvas(int width, int height) {
        bitmap.CreateBitmap32(width, height);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
    }
    COLORREF At(int x, int y) {
        dc.Flush();
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(bitmap.Bits() + y * bitmap.Stride());
        return RasterSurface::ToColor(row[x]);
    }
    void Clear(COLORREF color) { dc.FillSolidRect(0, 0, bitmap.Width(), bitmap.Height(), color); }

    CBitmap bitmap;
    CDC dc;
};
