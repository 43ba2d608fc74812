#include "platform/wx/WxMenuBuilder.h"

#include "platform/ICommandCatalog.h"
#include "platform/wx/WxCommandIds.h"
#include "platform/wx/WxPicture.h"

#include <wx/menu.h>
#include <wx/toolbar.h>

namespace {
wxString Utf8(const std::string& text) {
    return wxString::FromUTF8(text);
}
} // namespace

wxMenuBar* WxMenuBuilder::MenuBar(const std::vector<MenuItem>& popups) {
    auto* bar = new wxMenuBar(); // handed to the frame, which owns it
    for (const MenuItem& popup : popups) {
        auto* menu = new wxMenu(); // owned by the menu bar
        Fill(menu, popup.items);
        bar->Append(menu, Utf8(popup.text));
    }
    return bar;
}

void WxMenuBuilder::Fill(wxMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            menu->AppendSeparator();
            break;
        case MenuItem::Kind::Popup: {
            auto* sub = new wxMenu(); // owned by `menu`
            Fill(sub, item.items);
            menu->AppendSubMenu(sub, Utf8(item.text));
            break;
        }
        case MenuItem::Kind::Command: {
            const CommandLook look = WxCommandIds::Catalog().Look(item.id);
            const wxItemKind kind = look.checkable ? wxITEM_CHECK : wxITEM_NORMAL;
            menu->Append(WxCommandIds::ToWx(item.id), Utf8(item.text), Utf8(look.statusText), kind);
            break;
        }
        }
    }
}

void WxMenuBuilder::FillToolBar(wxToolBar* bar, std::span<const UINT> buttons) {
    for (UINT id : buttons) {
        if (id == 0) {
            bar->AddSeparator();
            continue;
        }
        const ICommandCatalog& catalog = WxCommandIds::Catalog();
        const CommandLook look = catalog.Look(id);
        const wxItemKind kind = look.toggles ? wxITEM_CHECK : wxITEM_NORMAL;
        const wxBitmap picture = WxBitmapFromPicture(catalog.ToolPicture(id));
        bar->AddTool(WxCommandIds::ToWx(id), wxString(), picture, wxNullBitmap, kind,
                     Utf8(look.tooltip), Utf8(look.statusText));
    }
    bar->Realize();
}
