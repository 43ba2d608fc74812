#pragma once
#include "document/CGridloomDoc.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "tests/support/TempFolder.h"
#include "view/CGridloomView.h"

#include <memory>
#include <string>

// A made maze of a `cells` x `cells` Box template (seed 1), with its view, on a profile in a
// temporary folder.
struct MadeBoxMaze {
    TempFolder dir;
    std::unique_ptr<CProfile> profile;
    std::unique_ptr<CGridloomDoc> doc;
    std::unique_ptr<CGridloomView> view;

    MadeBoxMaze(const std::string& folder, int cells) : dir(folder) {
        profile = std::make_unique<CProfile>(dir.File("OrlimberSTD.ini"));
        doc = std::make_unique<CGridloomDoc>(*profile);
        doc->Settings().kind = KIND_BOX;
        doc->Settings().columns = cells;
        doc->Settings().rows = cells;
        doc->Settings().seed = 1;
        doc->OnFileNew();
        view = std::make_unique<CGridloomView>();
        view->SetDocument(doc.get());
        view->OnInitialUpdate();
        doc->OnGenerateMaze();
    }
    ~MadeBoxMaze() {
        view.reset();
        doc.reset();
    }
};
