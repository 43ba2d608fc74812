#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/init.h>

// Window tests run one wx application for the whole program, under Xvfb.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp()); // wx owns and deletes its application object
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 1;
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}

TEST(MainWindow, OpensWithItsTitle) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Orlimber STD"); // owned by wx
    frame->Show();
    wxTheApp->Yield();
    EXPECT_EQ(frame->GetTitle(), "Orlimber STD");
    frame->Destroy();
}
