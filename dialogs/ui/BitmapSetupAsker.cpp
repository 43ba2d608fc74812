#include "dialogs/ui/BitmapSetupAsker.h"

#include "dialogs/BitmapSetup.h"
#include "dialogs/ui/BitmapSetupWindow.h"

bool BitmapSetupAsker::Ask(PictureSize& size) {
    BitmapSetup values;
    values.x = size.x;
    values.y = size.y;
    values.screenResolution = size.screenSize ? 1 : 0;
    values.numberOfMazes = 1;
    values.countReadOnly = 1;
    BitmapSetupWindow window(parent_, values);
    if (window.ShowModal() != wxID_OK)
        return false;
    size.x = values.x;
    size.y = values.y;
    size.screenSize = values.screenResolution != 0;
    return true;
}
