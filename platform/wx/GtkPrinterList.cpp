#include "platform/wx/GtkPrinterList.h"

#include <gtk/gtkunixprint.h>

#include <chrono>
#include <thread>

namespace {

// Shared with the toolkit's callbacks, which may outlive the wait: the last callback frees it.
struct Search {
    std::vector<SystemPrinter> found;
    bool done = false;
    bool abandoned = false;
};

gboolean OnPrinter(GtkPrinter* printer, gpointer data) {
    auto* search = static_cast<Search*>(data);
    if (!search->abandoned)
        search->found.push_back({gtk_printer_get_name(printer),
                                 gtk_printer_is_default(printer) != 0,
                                 gtk_printer_is_virtual(printer) != 0});
    return FALSE; // keep listing
}

void OnDone(gpointer data) {
    auto* search = static_cast<Search*>(data);
    if (search->abandoned)
        delete search;
    else
        search->done = true;
}

bool Enough(const Search& search, const std::string& wanted) {
    for (const SystemPrinter& p : search.found)
        if (wanted.empty() ? p.isDefault : p.name == wanted)
            return true;
    return false;
}

} // namespace

std::vector<SystemPrinter> ListSystemPrinters(const std::string& wanted, int milliseconds) {
    auto* search = new Search; // freed by OnDone, or here once the listing is over
    gtk_enumerate_printers(OnPrinter, search, OnDone, FALSE);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!search->done && !Enough(*search, wanted) && std::chrono::steady_clock::now() < end) {
        if (!g_main_context_iteration(nullptr, FALSE))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<SystemPrinter> found = search->found;
    if (search->done)
        delete search;
    else
        search->abandoned = true;
    return found;
}
