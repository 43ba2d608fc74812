#include "document/CGridloomDoc.h"

#include "document/ISettingsSheet.h"
#include "document/MazeSettingsProfile.h"
#include "document/SettingsPagesCheck.h"
#include "document/WkzDocumentFile.h"
#include "document/WkzFileCommands.h"
#include "maze/DeadEndSolver.h"
#include "maze/GridPlan.h"
#include "maze/GrowthSnapshot.h"
#include "maze/MazeGrower.h"
#include "maze/NeighbourStepper.h"
#include "maze/TemplateKind.h"
#include "platform/CProfile.h"
#include "platform/CrtRandom.h"
#include "platform/MessageBox.h"
#include "res/CommandIds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>

namespace {

constexpr const char* kCannotGrow =
    "Make Maze found no free cell to start from: every cell is carved, blackened or erased, "
    "or the cell the last maze ended on is. Nothing was changed; Clear Maze or File New "
    "start a maze again.";

// How far the page's inner radius percentage may stray from the grid's before it counts as
// a change (the page holds it as a float).
constexpr double kPercentTolerance = 1e-4;

int ClampToInt(long long v) {
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

// The profile keeps the percentage as a whole number.
int WholePercent(float percent) {
    const double p = std::trunc(percent);
    return (p >= 0 && p <= 100) ? static_cast<int>(p) : 0;
}

bool ValidCircular(int cells, double fraction) {
    return cells >= 1 && fraction > 0 && fraction < 1;
}

} // namespace

CGridloomDoc::CGridloomDoc(CProfile& profile)
    : profile_(profile), settings_(MazeSettingsProfile::Load(profile)) {
    settings_.seed = static_cast<int>(std::time(nullptr));
    CrtRandom::Main().srand(static_cast<std::uint32_t>(settings_.seed));
    headlessPane_.SetInfoBoxVisible(profile_.GetProfileInt("Ads", "VISIBLE", 1) != 0);
    RegisterCommands();
}

CGridloomDoc::~CGridloomDoc() = default;

void CGridloomDoc::RegisterCommands() {
    OnCommand(ID_FILE_NEW, [this] {
        OnFileNew();
        infoPane_->Restart();
    });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
    OnCommand(ID_FILE_SAVE_AS, [this] { OnFileSave(); });
    OnCommand(ID_MAZE_SETUP, [this] { OnMazeSetup(); });
    OnCommand(ID_PAGE_SETUP, [this] { OnPageSetup(); });
    OnCommand(ID_SET_PEN_WIDTH, [this] { OnSetPenWidth(); });
    // Commands that change the maze leave the document differing from its file.
    OnCommand(ID_CLEAR_MAZE, [this] {
        OnClearMaze();
        SetModifiedFlag();
    });
    OnCommand(ID_MAKE_MAZE, [this] {
        if (OnGenerateMaze())
            SetModifiedFlag();
        else
            AfxMessageBox(kCannotGrow, MB_OK | MB_ICONWARNING);
    });
    OnCommand(ID_SOLVE_MAZE, [this] { OnSolveMaze(); });
    OnCommand(ID_RERENDER_MAZE, [this] {
        OnReRenderMaze();
        SetModifiedFlag();
    });
}

int CGridloomDoc::GetCellWidth() {
    cachedCellWidth_ = settings_.FitCellWidth(marginX_);
    return ClampToInt(static_cast<long long>(cachedCellWidth_) * settings_.widthMultiplier);
}

int CGridloomDoc::GetCellHeight() {
    cachedCellHeight_ = settings_.FitCellHeight(marginY_);
    return ClampToInt(-(static_cast<long long>(cachedCellHeight_) * settings_.heightMultiplier));
}

void CGridloomDoc::ResetGrowthState() {
    seedPoints.clear();
    frontier.Clear();
    // Where the last walk ended means nothing on new grids, and a cell that is not free there
    // would stop every later Make Maze.
    cursorColumn = -1;
    cursorRow = -1;
}

bool CGridloomDoc::SetupGrids(bool keep) {
    ++gridGeneration_;
    cursorGrid = 0;
    const GridPlan plan = GridPlan::For(settings_);
    if (!plan.Ok()) {
        AfxMessageBox(plan.Error(), MB_OK | MB_ICONWARNING);
        return false;
    }
    const TemplateInfo* info = plan.Template();
    // Grids of another kind can't be kept: their shapes and count differ.
    keep = keep && grids_.GridCount() > 0 && info && grids_.BuiltKind() == info->kind;
    if (!keep) {
        grids_.Destroy();
        grids_.ClearRingCounts();
        ResetGrowthState();
    }
    if (HasLayerObjects() && AfxMessageBox("Do you want to delete all TEXT/OBJECT layers?",
                                           MB_YESNO | MB_ICONWARNING) == IDYES)
        DeleteLayerObjects();
    if (!info) {
        grids_.Destroy();
    } else {
        marginX_ = info->marginX;
        marginY_ = info->marginY;
        settings_.columns = plan.Columns();
        settings_.rows = plan.Rows();
        GetCellWidth();
        GetCellHeight();
        if (!keep)
            grids_.Create(*info);
        for (int i = 0; i < grids_.GridCount(); ++i) {
            Object& g = *grids_.GetGrid(i);
            g.SetRules(info->rules);
            g.SetGridType(info->gridType);
            g.AllocateCells(settings_.columns, settings_.rows);
        }
    }
    UpdateGrowthWeights();
    infoPane_->Collapse();
    UpdateAllViews(nullptr);
    return true;
}

bool CGridloomDoc::SetRingCounts(std::vector<int> counts) {
    if (!grids_.SetRingCounts(std::move(counts)))
        return false;
    ++gridGeneration_;
    settings_.rows = static_cast<int>(grids_.RingCounts().size());
    settings_.columns = grids_.GetGrid(0)->Width();
    return true;
}

bool CGridloomDoc::SetCellFlags(int column, int row, int grid, int flags) {
    Object* g = GetGrid(grid);
    if (!g || !g->InBounds(column, row))
        return false;
    g->GetCell(column, row).flags = static_cast<WORD>(flags);
    reRender = 1;
    return true;
}

void CGridloomDoc::ClearMaze(bool keepSeedPoints) {
    cleared = 1;
    mazeMade = 0;
    if (!keepSeedPoints)
        seedPoints.clear();
    for (int i = 0; i < grids_.GridCount(); ++i) {
        for (MazeCell& cell : grids_.GetGrid(i)->Cells()) {
            cell.passages = 0;
            cell.flags &= CELL_KEEP_ON_CLEAR;
        }
    }
    reRender = 1;
    UpdateAllViews(nullptr);
}

void CGridloomDoc::OnFileNew() {
    // Settings that cannot build a maze were refused with a message; the old maze stays.
    if (!SetupGrids(false))
        return;
    // A new maze belongs to no file until it is saved.
    SetPathName({});
    SetTitle("Untitled");
    ShowSettings(-1);
    OnClearMaze();
    infoPane_->Collapse();
}

void CGridloomDoc::OnMazeSetup() {
    ShowSettings(SettingsPages::kStyle);
}

void CGridloomDoc::OnPageSetup() {
    ShowSettings(SettingsPages::kPage);
}

void CGridloomDoc::OnSetPenWidth() {
    ShowSettings(SettingsPages::kAdvanced);
}

SettingsPageExchange::Circular CGridloomDoc::CircularValues() const {
    if (settings_.kind == KIND_CIRCULAR && grids_.GridCount() > 0)
        return {grids_.GetGrid(0)->ring0Count,
                static_cast<float>(grids_.GetGrid(0)->innerRadius * 100.0)};
    const auto stored = MazeSettingsProfile::LoadCircular(profile_);
    return {stored.cells, static_cast<float>(stored.percent)};
}

bool CGridloomDoc::RunSheet(int page) {
    if (page == -1)
        return true;
    if (!sheet_)
        return false;
    // The sheet edits a copy, so a cancelled sheet leaves the pages as they were filled.
    SettingsPages edited = pages_;
    if (!sheet_->Run("Orlimber Settings", page, edited))
        return false;
    pages_ = edited;
    return true;
}

bool CGridloomDoc::NeedsRebuild(const MazeSettings& next) const {
    if (next.kind != settings_.kind || next.tiled != settings_.tiled || grids_.GridCount() == 0 ||
        next.columns != settings_.columns || next.rows != settings_.rows)
        return true;
    if (next.kind != KIND_CIRCULAR)
        return false;
    const PP2& dim = pages_.dimensions;
    return dim.innerRadiusCells != grids_.GetGrid(0)->ring0Count ||
           std::fabs(dim.innerRadiusPercent - grids_.GetGrid(0)->innerRadius * 100.0) >
               kPercentTolerance;
}

bool CGridloomDoc::Refuses() const {
    const auto refusal = SettingsPagesCheck::For(pages_);
    if (!refusal)
        return false;
    AfxMessageBox(refusal->message, MB_OK | MB_ICONWARNING);
    return true;
}

void CGridloomDoc::ApplySettings(const MazeSettings& next, bool rebuild) {
    settings_ = next;
    MazeSettingsProfile::SavePrinting(profile_, settings_);
    const bool infoBox = pages_.advanced.infoWindow != 0;
    infoPane_->SetInfoBoxVisible(infoBox);
    profile_.WriteProfileInt("Ads", "VISIBLE", infoBox ? 1 : 0);
    if (infoBox)
        infoPane_->ShowNextPageSoon();
    // -1 keeps the running sequence, so that every new maze differs.
    if (settings_.seed != -1)
        CrtRandom::Main().srand(static_cast<std::uint32_t>(settings_.seed));
    MazeSettingsProfile::SaveCompass(profile_, settings_.compass);

    const MazeSettingsProfile::Circular circular{
        pages_.dimensions.innerRadiusCells, WholePercent(pages_.dimensions.innerRadiusPercent)};
    const bool sized = settings_.columns != 0 || settings_.rows != 0;
    if (sized && rebuild) {
        tilerReloadPending = 1;
        SetupGrids(false);
    }
    MazeSettingsProfile::SaveSize(profile_, settings_, circular);
    if (!sized && rebuild) {
        tilerReloadPending = 1;
        SetupGrids(false);
    }
    ClearMaze(false);
    tilerReloadPending = settings_.tiled;
}

void CGridloomDoc::TakeCircularValues() {
    const PP2& dim = pages_.dimensions;
    const double fraction = dim.innerRadiusPercent / 100.0;
    if (grids_.GridCount() > 0 && ValidCircular(dim.innerRadiusCells, fraction)) {
        grids_.GetGrid(0)->ring0Count = dim.innerRadiusCells;
        grids_.GetGrid(0)->innerRadius = fraction;
    }
}

void CGridloomDoc::ShowSettings(int page) {
    if (settings_.fitToPage)
        settings_.scale = std::min(cachedCellHeight_, cachedCellWidth_);
    SettingsPageExchange::Fill(settings_, CircularValues(), infoPane_->InfoBoxVisible(), pages_);
    colours_ = CellColours{};
    pages_.colours.SetDefaultColors();

    if (RunSheet(page)) {
        const MazeSettings next = SettingsPageExchange::Read(pages_, settings_);
        const bool rebuild = NeedsRebuild(next);
        if (Refuses() ||
            (rebuild && grids_.GridCount() > 0 &&
             AfxMessageBox("Do you really wish to make these changes?  YOU WILL LOSE WHAT YOU "
                           "WERE WORKING ON!",
                           MB_OKCANCEL) == IDCANCEL)) {
            reRender = 1;
            UpdateAllViews(nullptr);
            return;
        }
        ApplySettings(next, rebuild);
        // Applying from the sheet clears the maze: the work on screen is no longer the file's.
        if (page != -1)
            SetModifiedFlag();
    }
    TakeCircularValues();
    UpdateGrowthWeights();
    reRender = 1;
    UpdateAllViews(nullptr);
}

bool CGridloomDoc::OnGenerateMaze() {
    const GrowthSnapshot before(grids_, *this, CrtRandom::Main());
    if (!MazeGrower(grids_, *this, CrtRandom::Main(), cellPainter_).Start()) {
        before.Restore(grids_, *this, CrtRandom::Main());
        return false;
    }
    UpdateAllViews(nullptr);
    GrowMaze();
    return true;
}

void CGridloomDoc::GrowMaze() {
    MazeGrower(grids_, *this, CrtRandom::Main(), cellPainter_).Grow();
    UpdateAllViews(nullptr);
    OnSolveMaze();
}

void CGridloomDoc::OnSolveMaze() {
    DeadEndSolver(grids_, cellPainter_).Solve();
    reRender = 1;
    UpdateAllViews(nullptr);
}

void CGridloomDoc::DrawSolutionCell(int column, int row, int grid) {
    MazeGrower(grids_, *this, CrtRandom::Main(), cellPainter_).JoinCell(column, row, grid);
}

int CGridloomDoc::RegenerateMaze() {
    ClearMaze(true);
    // Without reseeding, each point grows a new maze from the same start cell.
    const std::vector<CPoint> points = seedPoints;
    for (const CPoint& point : points) {
        cursorColumn = point.x;
        cursorRow = point.y;
        tilerReloadPending = 1;
        const int seed = settings_.seed;
        settings_.seed = -1;
        OnGenerateMaze();
        OnSolveMaze();
        settings_.seed = seed;
    }
    return points.empty() ? 0 : 1;
}

void CGridloomDoc::OnFileOpen() {
    WkzFileCommands::Open(*this);
}

void CGridloomDoc::OnFileSave() {
    WkzFileCommands::Save(*this);
}

bool CGridloomDoc::Serialize(CArchive& ar) {
    return ar.IsStoring() ? WkzDocumentFile::Store(*this, ar) : WkzDocumentFile::Load(*this, ar);
}
