#pragma once
#include "platform/WinTypes.h"

class IDropButtonHost;

// The state of a drop-down button (colour or line type): its value, whether it is dropped,
// and what it makes of its popup's answers. Only the answers of the popup opened last count.
class DropButtonLogic {
public:
    enum class Kind { Colour, LineType };

    DropButtonLogic(IDropButtonHost& host, Kind kind, DWORD value);

    // A click, Space or Down: drops a new popup.
    void OnClicked();
    // Answers of popup number `popup`.
    void OnChosen(int popup, DWORD value, LPARAM lParam);
    void OnCancelled(int popup, DWORD value);
    void OnCustom(int popup, DWORD value);

    DWORD GetValue() const { return value_; }
    // Stores the value; the caller repaints.
    void SetValue(DWORD value) { value_ = value; }
    bool IsDropped() const { return dropped_; }
    bool IsPopupOpen() const { return popupOpen_; }
    int PopupNumber() const { return popup_; }

private:
    bool Current(int popup) const { return popupOpen_ && popup == popup_; }
    void Close();
    UINT ChosenMessage() const;
    UINT ChangedMessage() const;

    IDropButtonHost& host_;
    Kind kind_;
    DWORD value_;
    bool dropped_ = false;
    bool popupOpen_ = false;
    int popup_ = 0;
};
