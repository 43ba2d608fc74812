#include "app/CGridloomDoc.h"

#include "app/DeadEndSolver.h"
#include "app/GridPlan.h"
#include "app/ISettingsSheet.h"
#include "app/MazeGrower.h"
#include "app/MazeSettingsProfile.h"
#include "app/NeighbourStepper.h"
#include "app/RingPlan.h"
#include "app/TemplateKind.h"
#include "app/WkzDocumentFile.h"
#include "app/WkzFileCommands.h"
#include "platform/CProfile.h"
#include "platform/CrtRandom.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>

namespace {

constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_FILE_SAVE_AS = 57604;
constexpr UINT ID_GENERATE_MAZE = 32771;
constexpr UINT ID_SOLVE_MAZE = 32784;
constexpr UINT ID_RERENDER_MAZE = 32824;
constexpr UINT ID_MAZE_SETUP = 32772;
constexpr UINT ID_CLEAR_MAZE = 32787;
constexpr UINT ID_SET_PEN_WIDTH = 32790;
constexpr UINT ID_PAGE_SETUP = 32801;

// Circular settings are checked on a large nominal circle: the ring layout depends on the
// inner cell count and the radius fraction, hardly on the radius itself.
constexpr double kNominalRadius = 1e6;
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
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
    OnCommand(ID_FILE_SAVE_AS, [this] { OnFileSave(); });
    OnCommand(ID_MAZE_SETUP, [this] { OnMazeSetup(); });
    OnCommand(ID_PAGE_SETUP, [this] { OnPageSetup(); });
    OnCommand(ID_SET_PEN_WIDTH, [this] { OnSetPenWidth(); });
    OnCommand(ID_CLEAR_MAZE, [this] { OnClearMaze(); });
    OnCommand(ID_GENERATE_MAZE, [this] { OnGenerateMaze(); });
    OnCommand(ID_SOLVE_MAZE, [this] { OnSolveMaze(); });
    OnCommand(ID_RERENDER_MAZE, [this] { OnReRenderMaze(); });
}

int CGridloomDoc::GetCellWidth() {
    cachedCellWidth_ = settings_.FitCellWidth(marginX_);
    return ClampToInt(static_cast<long long>(cachedCellWidth_) * settings_.widthMultiplier);
}

int CGridloomDoc::GetCellHeight() {
    cachedCellHeight_ = settings_.FitCellHeight(marginY_);
    return ClampToInt(-(static_cast<long long>(cachedCellHeight_) * settings_.heightMultiplier));
}

Object* CGridloomDoc::GetGrid(int index) {
    return (index >= 0 && index < gridCount_) ? grids_[index].get() : nullptr;
}

const Object* CGridloomDoc::GetGrid(int index) const {
    return (index >= 0 && index < gridCount_) ? grids_[index].get() : nullptr;
}

void CGridloomDoc::DestroyGrids() {
    for (auto& g : grids_)
        g.reset();
    gridCount_ = 0;
    builtKind_ = -1;
}

void CGridloomDoc::CreateGrids(const TemplateInfo& info) {
    DestroyGrids();
    for (int i = 0; i < info.GridCount(); ++i)
        grids_[i] = std::make_unique<Object>(info.shapes[i]);
    gridCount_ = info.GridCount();
    builtKind_ = info.kind;
}

void CGridloomDoc::ResetGrowthState() {
    seedPoints.clear();
    frontier.Clear();
}

bool CGridloomDoc::SetupGrids(bool keep) {
    cursorGrid = 0;
    const GridPlan plan = GridPlan::For(settings_);
    if (!plan.Ok()) {
        AfxMessageBox(plan.Error(), MB_OK | MB_ICONWARNING);
        return false;
    }
    const TemplateInfo* info = plan.Template();
    // Grids of another kind can't be kept: their shapes and count differ.
    keep = keep && gridCount_ > 0 && info && builtKind_ == info->kind;
    if (!keep) {
        DestroyGrids();
        ringCounts_.clear();
        ResetGrowthState();
    }
    if (HasLayerObjects() && AfxMessageBox("Do you want to delete all TEXT/OBJECT layers?",
                                           MB_YESNO | MB_ICONWARNING) == IDYES)
        DeleteLayerObjects();
    if (!info) {
        DestroyGrids();
    } else {
        marginX_ = info->marginX;
        marginY_ = info->marginY;
        settings_.columns = plan.Columns();
        settings_.rows = plan.Rows();
        GetCellWidth();
        GetCellHeight();
        if (!keep)
            CreateGrids(*info);
        for (int i = 0; i < gridCount_; ++i) {
            Object& g = *grids_[i];
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
    Object* grid = GetGrid(0);
    if (!grid || grid->GridType() != GRID_RING || counts.empty())
        return false;
    const int rows = static_cast<int>(counts.size());
    int columns = 0;
    for (int c : counts) {
        if (c < 1)
            return false;
        columns = std::max(columns, c);
    }
    if (!Object::IsAllowedSize(columns, rows) || !grid->AllocateCells(columns, rows))
        return false;
    settings_.rows = rows;
    settings_.columns = columns;
    for (int r = 0; r < rows; ++r)
        for (int c = counts[r]; c < columns; ++c)
            grid->GetCell(c, r).flags = CELL_ERASED;
    ringCounts_ = std::move(counts);
    return true;
}

void CGridloomDoc::UpdateGrowthWeights() {
    for (int i = 0; i < gridCount_; ++i)
        grids_[i]->SetGrowthWeights(settings_.compass.WeightsFor(*grids_[i]));
}

bool CGridloomDoc::IsFreeCell(int column, int row, int grid) const {
    const Object* g = GetGrid(grid);
    if (!g || !g->InBounds(column, row))
        return false;
    const MazeCell& cell = g->GetCell(column, row);
    return cell.passages == 0 && (cell.flags & CELL_NOT_ELIGIBLE) == 0;
}

bool CGridloomDoc::SetCellFlags(int column, int row, int grid, int flags) {
    Object* g = GetGrid(grid);
    if (!g || !g->InBounds(column, row))
        return false;
    g->GetCell(column, row).flags = static_cast<WORD>(flags);
    reRender = 1;
    return true;
}

NeighbourRule CGridloomDoc::FindNeighbourRule(int column, int row, int grid, int side) const {
    const Object* g = GetGrid(cursorGrid) ? GetGrid(cursorGrid) : GetGrid(0);
    if (!g)
        return NeighbourRule{};
    const NeighbourStepper stepper(g->Rules(), settings_.columns, settings_.rows, false, false,
                                   ringCounts_);
    return stepper.FindRule(column, row, grid, side, settings_.kind == KIND_CIRCULAR);
}

std::optional<CPoint> CGridloomDoc::StepToNeighbour(int side, int column, int row, int grid, int dx,
                                                    int dy) const {
    const Object* g = GetGrid(grid);
    if (!g)
        return std::nullopt;
    const NeighbourStepper stepper(g->Rules(), settings_.columns, settings_.rows,
                                   settings_.wrapHorizontally != 0, settings_.wrapVertically != 0,
                                   ringCounts_);
    if (g->GridType() == GRID_POLYGON) {
        const auto c = stepper.StepPolygon(column, row, dx, dy);
        return CPoint(c.column, c.row);
    }
    if (g->GridType() == GRID_RING) {
        if (const auto c = stepper.StepRing(side, column, row, dx, dy))
            return CPoint(c->column, c->row);
    }
    return std::nullopt;
}

std::optional<CGridloomDoc::Neighbour> CGridloomDoc::FindNeighbour(int column, int row, int grid,
                                                                   int side) const {
    const NeighbourRule rule = FindNeighbourRule(column, row, grid, side);
    if (rule.fromGrid < 0)
        return std::nullopt;
    const auto p = StepToNeighbour(side, column, row, grid, rule.dx, rule.dy);
    const Object* to = GetGrid(rule.toGrid);
    if (!p || !to || !to->InBounds(p->x, p->y))
        return std::nullopt;
    return Neighbour{p->x, p->y, rule.toGrid, rule.toSide};
}

void CGridloomDoc::ClearMaze(bool keepSeedPoints) {
    cleared = 1;
    mazeMade = 0;
    if (!keepSeedPoints)
        seedPoints.clear();
    for (int i = 0; i < gridCount_; ++i) {
        for (MazeCell& cell : grids_[i]->Cells()) {
            cell.passages = 0;
            cell.flags &= CELL_KEEP_ON_CLEAR;
        }
    }
    reRender = 1;
    UpdateAllViews(nullptr);
}

void CGridloomDoc::OnFileNew() {
    SetupGrids(false);
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
    if (settings_.kind == KIND_CIRCULAR && gridCount_ > 0)
        return {grids_[0]->ring0Count, static_cast<float>(grids_[0]->innerRadius * 100.0)};
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
    if (next.kind != settings_.kind || next.tiled != settings_.tiled || gridCount_ == 0 ||
        next.columns != settings_.columns || next.rows != settings_.rows)
        return true;
    if (next.kind != KIND_CIRCULAR)
        return false;
    const PP2& dim = pages_.dimensions;
    return dim.innerRadiusCells != grids_[0]->ring0Count ||
           std::fabs(dim.innerRadiusPercent - grids_[0]->innerRadius * 100.0) > kPercentTolerance;
}

bool CGridloomDoc::Refuses(const MazeSettings& next) const {
    std::string why = GridPlan::For(next).Error();
    if (why.empty() && next.kind == KIND_CIRCULAR) {
        const PP2& dim = pages_.dimensions;
        why = RingPlan::For(kNominalRadius, dim.innerRadiusCells, dim.innerRadiusPercent / 100.0)
                  .Error();
    }
    if (why.empty())
        return false;
    AfxMessageBox(why, MB_OK | MB_ICONWARNING);
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
    if (gridCount_ > 0 && ValidCircular(dim.innerRadiusCells, fraction)) {
        grids_[0]->ring0Count = dim.innerRadiusCells;
        grids_[0]->innerRadius = fraction;
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
        if (Refuses(next) ||
            (rebuild && gridCount_ > 0 &&
             AfxMessageBox("Do you really wish to make these changes?  YOU WILL LOSE WHAT YOU "
                           "WERE WORKING ON!",
                           MB_OKCANCEL) == IDCANCEL)) {
            reRender = 1;
            UpdateAllViews(nullptr);
            return;
        }
        ApplySettings(next, rebuild);
    }
    TakeCircularValues();
    UpdateGrowthWeights();
    reRender = 1;
    UpdateAllViews(nullptr);
}

void CGridloomDoc::OnGenerateMaze() {
    if (MazeGrower(*this, CrtRandom::Main()).Start())
        GrowMaze();
}

void CGridloomDoc::GrowMaze() {
    MazeGrower(*this, CrtRandom::Main()).Grow();
    UpdateAllViews(nullptr);
    OnSolveMaze();
}

void CGridloomDoc::OnSolveMaze() {
    DeadEndSolver(*this).Solve();
    UpdateAllViews(nullptr);
}

void CGridloomDoc::DrawSolutionCell(int column, int row, int grid) {
    MazeGrower(*this, CrtRandom::Main()).JoinCell(column, row, grid);
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

bool CGridloomDoc::SerializeV1(CArchive& ar) {
    return ar.IsStoring() ? WkzDocumentFile::StoreV1(*this, ar)
                          : WkzDocumentFile::LoadV1(*this, ar);
}

bool CGridloomDoc::SerializeV2(CArchive& ar) {
    return ar.IsStoring() ? WkzDocumentFile::StoreV2(*this, ar)
                          : WkzDocumentFile::LoadV2(*this, ar);
}
