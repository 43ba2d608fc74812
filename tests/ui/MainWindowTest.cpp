#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <memory>

// Window tests run one wx application for the whole program, under Xvfb.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp()); // wx owns and deletes its application object
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 1;
    wxInitAllImageHandlers();
    // Log messages go to stderr: a log window would wait for a click at shutdown.
    const std::unique_ptr<wxLog> previous(wxLog::SetActiveTarget(new wxLogStderr()));
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
