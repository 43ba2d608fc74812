#pragma once
#include "tests/support/DocTestSupport.h"

#include "platform/RasterSurface.h"
#include "view/CGridloomView.h"

#include <cairo.h>

#include <string>
#include <vector>

// A document shown by a view without a window, and helpers to carve and look at mazes.
class ViewTest : public DocTest {
protected:
    CGridloomView& ViewOf(CGridloomDoc& doc) {
        view_ = std::make_unique<CGridloomView>();
        view_->SetWindow(&window_);
        view_->SetDocument(&doc);
        view_->OnInitialUpdate();
        return *view_;
    }

    static bool SavePng(RasterSurface& surface, const std::string& path) {
        surface.Pixels();
        return cairo_surface_write_to_png(surface.CairoSurface(), path.c_str()) ==
               CAIRO_STATUS_SUCCESS;
    }

    void TearDown() override {
        view_.reset();
        DocTest::TearDown();
    }

    HeadlessViewWindow window_;
    std::unique_ptr<CGridloomView> view_;
};
