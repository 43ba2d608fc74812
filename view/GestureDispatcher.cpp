#include "view/GestureDispatcher.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "view/GestureCommandTable.h"
#include "view/IViewWindow.h"

#include <filesystem>
#include <system_error>

int GestureDispatcher::Dispatch(const std::string& name, int activeLayer, IViewWindow& window) {
    const std::size_t index = GestureCommandTable::Find(name, activeLayer);
    const GestureCommand& row = GestureCommandTable::Rows()[index];
    const bool match = index != GestureCommandTable::kTerminator;
    if (match)
        window.PostCommand(static_cast<UINT>(row.command & 0xFFFF));
    ISound::Current().Play(GestureCommandTable::SoundOf(row));
    if (!match) {
        CountMiss();
        return -1;
    }
    misses_ = 0;
    return static_cast<int>(index);
}

void GestureDispatcher::CountMiss() {
    if (++misses_ < threshold_)
        return;
    const int answer = IMessageBox::Current().Show(kHelpQuestion, kHelpCaption, MB_YESNO);
    if (answer == IDYES)
        OpenHelp();
    else
        threshold_ += kHelpStep;
    misses_ = 0;
}

void GestureDispatcher::OpenHelp() const {
    std::error_code error;
    if (!helpFile_.empty() && std::filesystem::is_regular_file(helpFile_, error))
        (void)IShell::Current().Open(helpFile_);
}
