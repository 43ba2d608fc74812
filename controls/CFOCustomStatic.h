#pragma once
#include "platform/CRect.h"

#include <string>

class CDC;
class CFont;
class IStaticHost;

// An owner-drawn static: a push-button frame with the window text centred inside a margin.
// Its drawing is split into small steps so that a derived static replaces only what it needs.
class CFOCustomStatic {
public:
    explicit CFOCustomStatic(IStaticHost* host = nullptr) : host_(host) {}
    virtual ~CFOCustomStatic() = default;
    CFOCustomStatic(const CFOCustomStatic&) = delete;
    CFOCustomStatic& operator=(const CFOCustomStatic&) = delete;

    void SetHost(IStaticHost* host) { host_ = host; }
    // The whole paint of the window.
    void OnPaint(CDC& dc);

    virtual CSize GetIdealSize();
    // Size of a single line of text; (0, 0) for none.
    virtual CSize GetTextExtent(CDC& dc, const std::string& text);
    virtual void SizeToContent();
    virtual void RedrawIfCreated();
    virtual CRect GetTextRect(CDC& dc, const CRect& rect, bool measure);
    virtual CRect GetContentRect(CDC& dc, const CRect& rect);
    virtual void DrawTextAt(CDC& dc, int x, int y, const std::string& text);
    virtual void PrepareDC(CDC& dc);
    virtual void DrawContent(CDC& dc, const CRect& rect, UINT state);
    virtual void DrawFocus(CDC& dc, const CRect& rect);
    // Draws the frame and moves `rect` to its inside.
    virtual void DrawFrame(CDC& dc, CRect& rect, UINT state);
    virtual void RestoreDC(CDC& dc);

    int SetMargin(int margin);
    int GetMargin() const { return margin_; }
    const CRect& GetPaintRect() const { return paintRect_; }

protected:
    std::string WindowText() const;
    CRect ClientRect() const;

    IStaticHost* host_;

private:
    CRect paintRect_;
    CFont* oldFont_ = nullptr;
    bool fontSelected_ = false;
    int margin_ = 4;
};
