#pragma once
#include "dialogs/RtfReader.h"

class wxRichTextCtrl;

// Puts a read rich text document into a rich text control, replacing what it held.
void ShowRtfDocument(const RtfDocument& doc, wxRichTextCtrl& control);
