#pragma once
#include "platform/CRect.h"

#include <string>

class CDC;
class IHyperLinkHost;

// A static text that acts as a web link: drawn in the link colour (the hover colour under
// the mouse, the visited colour once opened), underlined; a click opens the address through
// the desktop shell as one argument, never through a command line, and a failure is
// reported and leaves the link unvisited.
class CFOHyperLink {
public:
    // Alignment styles of the static the link sits in.
    enum : UINT { kCenter = 0x1, kRight = 0x2, kCenterImage = 0x200 };

    explicit CFOHyperLink(UINT style = 0);
    virtual ~CFOHyperLink() = default;
    CFOHyperLink(const CFOHyperLink&) = delete;
    CFOHyperLink& operator=(const CFOHyperLink&) = delete;

    // Takes over the window: an empty address becomes the window text and an empty text
    // the address; the window fits the text and the tooltip shows the address.
    void Attach(IHyperLinkHost* host);

    virtual void SetURL(const std::string& url);
    virtual const std::string& GetURL() const { return url_; }
    // A hover colour of CLR_INVALID takes the desktop's highlight colour now.
    virtual void SetColors(COLORREF link, COLORREF visited, COLORREF hover = 0xFFFFFFFF);
    virtual COLORREF GetLinkColour() const { return link_; }
    virtual COLORREF GetVisitedColour() const { return visitedColour_; }
    virtual COLORREF GetHoverColour() const { return hover_; }
    virtual void SetVisited(bool visited);
    virtual bool GetVisited() const { return visited_; }
    virtual void SetUnderline(bool underline);
    virtual bool GetUnderline() const { return underline_; }
    virtual void SetAutoSize(bool autoSize);
    virtual bool GetAutoSize() const { return autoSize_; }
    // Opens `url`; false when the desktop would not start anything.
    virtual bool GotoURL(const std::string& url);
    // Tells the user why a link did not open.
    virtual void ReportError(int code);
    virtual void PositionWindow();

    // The colour the text takes now.
    COLORREF TextColour() const;
    bool IsOver() const { return over_; }
    void OnClicked();
    // The mouse at `point` of a client area of `client` size.
    void OnMouseMove(CPoint point, CSize client);
    void Draw(CDC& dc, const CRect& client);

    // The text for a failure code, after "Unable to open hyperlink:".
    static std::string ErrorText(int code);
    // Where a window at `window` goes to fit text of `text` size under the static's style.
    static CRect FitRect(const CRect& window, CSize text, UINT style);

private:
    IHyperLinkHost* host_ = nullptr;
    UINT style_;
    std::string url_;
    COLORREF link_ = 0xEE0000;
    COLORREF visitedColour_ = 0x8B1A55;
    COLORREF hover_;
    bool over_ = false;
    bool visited_ = false;
    bool underline_ = true;
    bool autoSize_ = true;
};
