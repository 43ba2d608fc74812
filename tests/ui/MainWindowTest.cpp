#include "platform/MainThread.h"
#include "platform/wx/WxCommandIds.h"
#include "res/CommandCatalog.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/ToolkitWarnings.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

// Window tests run one wx application for the whole program, under Xvfb.
int main(int argc, char** argv) {
    toolkit_warnings::FailTestsOnThem();
    ::testing::InitGoogleTest(&argc, argv);
    // The windows read and write the profile: never the user's own, nor an earlier run's.
    const TempFolder config("ui-config");
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    const TempFolder data("ui-data");
    ::setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    wxApp::SetInstance(new wxApp()); // wx owns and deletes its application object
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 1;
    wxInitAllImageHandlers();
    // As in the program: a transfer or probe asked for on this thread ends the run.
    MainThread::Mark();
    MainThread::SetPoster([](MainThread::Task task) { wxTheApp->CallAfter(std::move(task)); });
    const CommandCatalog commands;
    WxCommandIds::Use(commands);
    // Log messages go to stderr: a log window would wait for a click at shutdown.
    const std::unique_ptr<wxLog> previous(wxLog::SetActiveTarget(new wxLogStderr()));
    int result = RUN_ALL_TESTS();
    MainThread::SetPoster({});
    wxTheApp->OnExit();
    wxEntryCleanup();
    if (const int outside = toolkit_warnings::OutsideTests(); outside > 0) {
        std::fprintf(stderr, "%d toolkit warning(s) outside the tests\n", outside);
        result = 1;
    }
    return result;
}
