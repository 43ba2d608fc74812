#pragma once
#include "platform/IDcBackEnd.h"
#include "platform/TextLayout.h"

#include <string>
#include <vector>

// A device of some resolution that keeps the lines of the text drawn on it (without the blanks
// and line ends they close with) and where each line's characters start.
class LineRecorder : public IDcBackEnd {
public:
    struct Drawn {
        std::vector<std::string> lines;
        std::vector<std::vector<double>> starts;
    };

    LineRecorder(int dpi, Drawn& drawn) : dpi_(dpi), drawn_(drawn) {}

    DeviceCaps Caps() const override {
        DeviceCaps caps;
        caps.dpiX = dpi_;
        caps.dpiY = dpi_;
        return caps;
    }
    CRect Bounds() const override { return {0, 0, 100000, 100000}; }
    void SetClip(const CRect&) override {}
    void Stroke(const std::vector<CPoint>&, bool, const DevicePen&, const Background&) override {}
    void FillPolygon(const std::vector<CPoint>&, int, const DeviceBrush&,
                     const Background&) override {}
    void FillRect(const CRect&, const DeviceBrush&, const Background&) override {}
    void Ellipse(const CRect&, const DevicePen&, const DeviceBrush&, const Background&) override {}
    void InvertRect(const CRect&) override {}
    void FocusRect(const CRect&) override {}
    void DrawText(const TextLayout& layout, const TextPlacement&) override {
        for (const TextLayout::Line& line : layout.Lines()) {
            std::string text = line.utf8;
            while (!text.empty() && (text.back() == ' ' || text.back() == '\n'))
                text.pop_back();
            drawn_.lines.push_back(text);
            drawn_.starts.push_back(line.starts);
        }
    }
    COLORREF GetPixel(CPoint) override { return 0; }
    void SetPixel(CPoint, COLORREF) override {}
    void DrawSurface(RasterSurface&, const CRect&, const CRect&) override {}

private:
    int dpi_;
    Drawn& drawn_;
};
