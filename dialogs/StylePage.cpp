#include "dialogs/StylePage.h"

#include "dialogs/PixelPictureRaster.h"
#include "maze/TemplateKind.h"
#include "platform/MessageBox.h"
#include "res/StylePreviewArt.h"
#include "tiles/TileSetCatalogue.h"

const std::array<StylePage::Style, 8> StylePage::kStyles = {{
    {ControlIds::Style::kBox, "Box", KIND_BOX, 0, 154},
    {ControlIds::Style::kTriangular, "Triangular", 3, 0, 155},
    {ControlIds::Style::kOctagonBox, "Octagon-Box", 2, 0, 156},
    {ControlIds::Style::kHex, "Hex", 1, 0, 157},
    {ControlIds::Style::kTrapezoidBox, "Trapezoid-Box", 4, 0, 162},
    {ControlIds::Style::kQuadTriangle, "Quad-Triangle", 5, 0, 161},
    {ControlIds::Style::kCircular, "CIRCULAR", 40, 0, StylePreviewArt::kCircular},
    {ControlIds::Style::kTiled, "Square Tiled:", KIND_BOX, 1, 0},
}};

std::vector<std::string> StylePage::ListTexts() {
    std::vector<std::string> texts;
    for (const auto& set : TileSetCatalogue::kBuiltIns)
        texts.emplace_back(set.name);
    for (const auto& entry : sets_.Entries(&previewTiler_))
        texts.push_back(entry.name);
    return texts;
}

int StylePage::RadioForValues() const {
    if (values_.kind == KIND_BOX)
        return values_.tiled ? ControlIds::Style::kTiled : kStyles[0].radioId;
    for (const Style& s : kStyles)
        if (s.kind == values_.kind && !s.tiled)
            return s.radioId;
    return kStyles[0].radioId;
}

void StylePage::ChoosePlainStyle(int radioId) {
    for (const Style& s : kStyles) {
        if (s.radioId != radioId || s.tiled)
            continue;
        values_.kind = s.kind;
        values_.tiled = 0;
        values_.selectedTilerName.clear();
        listEnabled_ = false;
        wrapsEnabled_ = s.kind != 40;
        preview_ = RasterFromPicture(StylePreviewArt::Get(s.pictureId));
        return;
    }
}

void StylePage::ChooseTiled(int index, const std::string& text) {
    values_.kind = KIND_BOX;
    values_.tiled = 1;
    values_.selectedIndex = index;
    values_.listText = text;
    values_.selectedTilerName = text;
    LoadSelectedTiler(nullptr);
    previewTiler_.RenderPreview(preview_, kPreviewSize, kPreviewSize);
    listEnabled_ = true;
    wrapsEnabled_ = true;
}

void StylePage::ShowStoredSet() {
    std::string ignored; // the view says what is wrong with the id when it draws
    if (values_.tilerId.empty())
        sets_.LoadSelection(previewTiler_, values_.selectedIndex, values_.selectedTilerName,
                            ignored);
    else
        sets_.Load(previewTiler_, values_.tilerId, ignored);
    previewTiler_.RenderPreview(preview_, kPreviewSize, kPreviewSize);
    listEnabled_ = true;
    wrapsEnabled_ = true;
}

int StylePage::ListIndexFor(const std::string& id) {
    for (int i = 0; i < TileSetCatalogue::kBuiltInCount; ++i)
        if (TileSetCatalogue::BuiltInId(TileSetCatalogue::kBuiltIns[i].pictureId) == id)
            return i;
    const auto& entries = sets_.Entries(&previewTiler_);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].id == id)
            return TileSetCatalogue::kBuiltInCount + static_cast<int>(i);
    return -1;
}

bool StylePage::LoadSelectedTiler(CBMPTiler* target) {
    return sets_.LoadSelection(target ? *target : previewTiler_, values_.selectedIndex,
                               values_.selectedTilerName, values_.tilerId);
}

bool StylePage::LoadTiler(CBMPTiler& target, const std::string& id) {
    if (id.empty())
        return LoadSelectedTiler(&target);
    std::string message;
    const bool loaded = sets_.Load(target, id, message);
    if (!message.empty())
        AfxMessageBox(message, MB_OKCANCEL);
    return loaded;
}
