#pragma once
#include <cstddef>

class wxFrame;
class RecentFileList;

// Keeps one File-menu item per recent file (the greyed placeholder when there is none) right
// below the first recent-file item; the command router gives them their texts.
class RecentFileMenu {
public:
    static void Sync(wxFrame& frame, const RecentFileList& recent);
};
