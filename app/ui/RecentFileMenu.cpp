#include "app/ui/RecentFileMenu.h"

#include "app/RecentFileList.h"
#include "platform/wx/WxCommandIds.h"
#include "res/CommandIds.h"

#include <wx/frame.h>
#include <wx/menu.h>

#include <algorithm>

void RecentFileMenu::Sync(wxFrame& frame, const RecentFileList& recent) {
    wxMenuBar* bar = frame.GetMenuBar();
    if (!bar)
        return;
    wxMenu* menu = nullptr;
    if (!bar->FindItem(WxCommandIds::ToWx(ID_FILE_MRU_FILE1), &menu) || !menu)
        return;
    const std::size_t wanted = std::max<std::size_t>(1, recent.Files().size());
    int position = 0;
    for (; position < static_cast<int>(menu->GetMenuItemCount()); ++position)
        if (menu->FindItemByPosition(position)->GetId() == WxCommandIds::ToWx(ID_FILE_MRU_FILE1))
            break;
    for (std::size_t i = 1; i < RecentFileList::kSize; ++i) {
        const int id = WxCommandIds::ToWx(ID_FILE_MRU_FILE1 + static_cast<UINT>(i));
        wxMenuItem* item = menu->FindItem(id);
        if (i < wanted && !item)
            menu->Insert(position + static_cast<int>(i), id,
                         wxString::FromUTF8(recent.MenuText(i)));
        else if (i >= wanted && item)
            menu->Destroy(item);
    }
    for (std::size_t i = 0; i < wanted; ++i) {
        const int id = WxCommandIds::ToWx(ID_FILE_MRU_FILE1 + static_cast<UINT>(i));
        if (wxMenuItem* item = menu->FindItem(id)) {
            item->SetItemLabel(recent.Empty() ? wxString("Recent File")
                                              : wxString::FromUTF8(recent.MenuText(i)));
            item->Enable(!recent.Empty());
        }
    }
}
