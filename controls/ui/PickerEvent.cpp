#include "controls/ui/PickerEvent.h"

wxDEFINE_EVENT(EVT_FO_PICKER, PickerEvent);

PickerEvent::PickerEvent(UINT message, DWORD value, int id)
    : wxCommandEvent(EVT_FO_PICKER, id), message_(message), value_(value) {}
