#pragma once
#include "platform/MessageBox.h"

class wxWindow;

// Asks with a modal wxWidgets dialog, parented to the main window when there is one.
class WxMessageBox : public IMessageBox {
public:
    int Show(const std::string& text, const std::string& caption, UINT type) override;
};
