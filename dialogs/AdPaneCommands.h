#pragma once
#include "platform/CCmdTarget.h"

class AdPaneController;

// The pane's part of the command routing: the gallery and update commands that the frame
// passes on, answered by the controller.
class AdPaneCommands : public CCmdTarget {
public:
    explicit AdPaneCommands(AdPaneController& pane);
};
