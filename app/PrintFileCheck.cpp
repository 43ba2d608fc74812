#include "app/PrintFileCheck.h"

#include "document/CGridloomDoc.h"
#include "document/WkzFileCommands.h"
#include "platform/MessageBox.h"

std::string PrintFileCheck::Problem(const std::string& file, CProfile& profile) {
    // A question the load would ask takes its default answer, and its text is the reason.
    ScriptedMessageBox asked;
    IMessageBox::Installation installed(asked);
    CGridloomDoc doc(profile);
    if (WkzFileCommands::OpenFile(doc, file))
        return {};
    if (!doc.pendingMessage.empty())
        return doc.pendingMessage;
    if (!asked.ShownBoxes().empty())
        return asked.ShownBoxes().front().text;
    return "ERROR: Could not read " + file + ".";
}
