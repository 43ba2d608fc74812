#include "XdoTool.h"
#include "dialogs/ui/CUltraSplashWnd.h"
#include "res/SplashPicture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <wx/image.h>
#include <wx/log.h>

#include <cstdlib>
#include <string>

namespace {

// The share of the splash picture's pixels that the screen shows where the window stands.
double ShownOnScreen(const wxRect& area, const std::string& png) {
    const std::string geometry = std::to_string(area.width) + "x" + std::to_string(area.height) +
                                 "+" + std::to_string(area.x) + "+" + std::to_string(area.y);
    if (std::system(
            ("import -window root -crop " + geometry + " +repage png:" + png + " >/dev/null 2>&1")
                .c_str()) != 0)
        return 0;
    wxLogNull quiet;
    wxImage shot;
    const PixelPicture& picture = SplashPicture::Get();
    if (!shot.LoadFile(png, wxBITMAP_TYPE_PNG) || shot.GetWidth() < picture.width ||
        shot.GetHeight() < picture.height)
        return 0;
    int same = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t px =
                picture.pixels[static_cast<std::size_t>(y * picture.width + x)];
            const auto near = [](int a, int b) { return std::abs(a - b) <= 8; };
            same += near(shot.GetRed(x, y), (px >> 16) & 0xFF) &&
                    near(shot.GetGreen(x, y), (px >> 8) & 0xFF) &&
                    near(shot.GetBlue(x, y), px & 0xFF);
        }
    return double(same) / (picture.width * picture.height);
}

} // namespace

TEST(SplashWindow, ThePictureRevealsWhileTheProgramGoesOnStarting) {
    bool started = false;
    auto* splash = new CUltraSplashWnd(SplashPicture::Get(), 1, 1,
                                       [&] { started = true; }); // wx owns top-level windows
    ASSERT_TRUE(xdo::PumpUntil([&] { return started; }, 5000));
    bool revealed = false;
    splash->AfterReveal([&] { revealed = true; });
    ASSERT_TRUE(xdo::PumpUntil([&] { return revealed; }, 10000));
    const TempFolder folder("splash-shot");
    const wxRect area = splash->GetScreenRect();
    EXPECT_EQ(area.GetSize(), wxSize(SplashPicture::kWidth, SplashPicture::kHeight));
    EXPECT_GE(ShownOnScreen(area, folder.File("splash.png")), 0.95);
    splash->HideSplash();
    splash->CloseSplash(nullptr);
    EXPECT_TRUE(xdo::PumpUntil([splash] {
        wxTheApp->ProcessIdle();
        return !wxTopLevelWindows.Find(splash);
    }));
}
