#include "dialogs/AdPaneCommands.h"

#include "dialogs/AdPaneController.h"

AdPaneCommands::AdPaneCommands(AdPaneController& pane) {
    for (UINT id : {AdPaneController::kCmdMaskGallery, AdPaneController::kCmdTemplateGallery,
                    AdPaneController::kCmdCheckUpdates, AdPaneController::kCmdTilerGallery})
        OnCommand(id, [&pane, id] { pane.OnCommand(id); });
}
