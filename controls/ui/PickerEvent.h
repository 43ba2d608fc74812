#pragma once
#include "platform/WinTypes.h"

#include <wx/event.h>

// A drop-down button telling its parent about a choice: the notification number (0x4DC ..),
// the value (a colour or a pen style) and the button's id. The parent handles it at once.
class PickerEvent : public wxCommandEvent {
public:
    PickerEvent(UINT message, DWORD value, int id);
    wxEvent* Clone() const override { return new PickerEvent(*this); }

    UINT Message() const { return message_; }
    DWORD Value() const { return value_; }

private:
    UINT message_;
    DWORD value_;
};

wxDECLARE_EVENT(EVT_FO_PICKER, PickerEvent);
