#pragma once
#include "document/CLogicalRectTracker.h"
#include "document/CellColours.h"
#include "document/IInfoPane.h"
#include "document/SettingsPageExchange.h"
#include "document/SettingsPages.h"
#include "maze/MazeGrids.h"
#include "maze/MazeProgress.h"
#include "maze/MazeSettings.h"
#include "maze/NeighbourRule.h"
#include "maze/Object.h"
#include "maze/TemplateTables.h"
#include "platform/CDocument.h"
#include "platform/CPoint.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CProfile;
class ICellPainter;
class ISettingsSheet;
struct WkzContent;

// The maze document: settings, the grids of the current template and the maze state.
//
// Public API in brief (other parts extend it; keep logic in classes of their own):
// - Construction reads the settings from a CProfile (tests pass one on a temporary file),
//   sets the seed from the clock and seeds CrtRandom::Main() with it.
// - Outside services: SetInfoPane (the pane below the maze; a headless one by default) and
//   SetSettingsSheet (the settings window; none means ShowSettings(0/2/3) does nothing).
//   Prompts go through AfxMessageBox; views are told through UpdateAllViews.
// - Settings(): the maze settings (kind, rows, columns, page, scale, seed, wraps, compass...).
//   GetCellWidth() / GetCellHeight() give the cell size (the height negative: the view's
//   y axis points up). Colours() are the eight cell colours.
// - Grids: SetupGrids(keep) builds the grids of Settings().kind (false, changing nothing,
//   when the settings can't build them); GridCount(), GetGrid(i). Circular grids also need
//   their per-ring counts (SetRingCounts, usually from RingPlan).
// - Cells: IsFreeCell, SetCellFlags; FindNeighbourRule and StepToNeighbour cross one side of
//   a cell; FindNeighbour does both and drops neighbours outside their grid.
// - Settings exchange: ShowSettings(-1) applies the current values headless, (0/2/3) opens
//   the sheet on that page; OnFileNew builds a fresh maze. ClearMaze empties the passages.
// - Maze: OnGenerateMaze grows a maze (GrowMaze is its grow loop) and solves it
//   (OnSolveMaze); a cell painter set by the view animates both. DrawSolutionCell joins one
//   cell into the carved region; RegenerateMaze grows again from every seed point without
//   reseeding (0 when there is none). `frontier` is the generator's list.
// - Plain state (public members below): cursor, flags, re-render flag, pending message...
class CGridloomDoc : public CDocument, public MazeProgress {
public:
    static constexpr int kMaxGrids = MazeGrids::kMaxGrids;

    explicit CGridloomDoc(CProfile& profile);
    ~CGridloomDoc() override;
    CGridloomDoc(const CGridloomDoc&) = delete;
    CGridloomDoc& operator=(const CGridloomDoc&) = delete;

    // Services.
    void SetInfoPane(IInfoPane* pane) { infoPane_ = pane ? pane : &headlessPane_; }
    IInfoPane& InfoPane() { return *infoPane_; }
    void SetSettingsSheet(ISettingsSheet* sheet) { sheet_ = sheet; }
    CProfile& Profile() { return profile_; }

    // Settings.
    MazeSettings& Settings() { return settings_; }
    const MazeSettings& Settings() const { return settings_; }
    int MarginX() const { return marginX_; }
    int MarginY() const { return marginY_; }
    int GetCellWidth();
    int GetCellHeight();
    const CellColours& Colours() const { return colours_; }
    SettingsPages& Pages() { return pages_; }

    // Grids.
    bool SetupGrids(bool keep);
    MazeGrids& Grids() { return grids_; }
    const MazeGrids& Grids() const { return grids_; }
    int GridCount() const { return grids_.GridCount(); }
    Object* GetGrid(int index) { return grids_.GetGrid(index); }
    const Object* GetGrid(int index) const { return grids_.GetGrid(index); }
    const std::vector<int>& RingCounts() const { return grids_.RingCounts(); }
    // Takes per-ring cell counts for the circular grid: rows become the ring count, columns
    // the outermost count, and the cells past each ring's count are erased. False (nothing
    // changed) without a ring grid or for counts the grid can't hold.
    bool SetRingCounts(std::vector<int> counts);
    void ClearRingCounts() { grids_.ClearRingCounts(); }
    // Counts grid rebuilds and loads (New, Open, settings, ring layout): what was saved of
    // the cells under another count does not fit them.
    std::uint64_t GridGeneration() const { return gridGeneration_; }
    // Recomputes every grid's growth weights from the compass weights.
    void UpdateGrowthWeights() { grids_.UpdateGrowthWeights(); }

    // Cells.
    bool IsFreeCell(int column, int row, int grid) const {
        return grids_.IsFreeCell(column, row, grid);
    }
    // Replaces the cell's flags; false when the cell is outside its grid.
    bool SetCellFlags(int column, int row, int grid, int flags);
    NeighbourRule FindNeighbourRule(int column, int row, int grid, int side) const {
        return grids_.FindNeighbourRule(column, row, grid, side);
    }
    // The cell across a side, displaced by the rule's offsets; none when there is none (a
    // polygon step may still land outside the grid: test with InBounds).
    std::optional<CPoint> StepToNeighbour(int side, int column, int row, int grid, int dx,
                                          int dy) const {
        return grids_.StepToNeighbour(side, column, row, grid, dx, dy);
    }
    using Neighbour = MazeGrids::Neighbour;
    // The neighbour across a side, inside its grid, or none.
    std::optional<Neighbour> FindNeighbour(int column, int row, int grid, int side) const {
        return grids_.FindNeighbour(column, row, grid, side);
    }

    // The content a document file holds, handed over whole: the file code reads and writes
    // it, never the document's own state. Adopt takes a loaded content over as File New
    // starts a maze (the layer objects go without asking); settings no grids can be built
    // from are refused first and change nothing. The refusal text, empty when adopted.
    WkzContent Content() const;
    std::string Adopt(WkzContent&& content);

    // Commands and settings exchange.
    // -1 applies the current values without showing anything; 0, 2 and 3 open the sheet on
    // that page (Style, Page, Advanced).
    void ShowSettings(int page);
    void OnFileNew();
    void OnMazeSetup();
    void OnPageSetup();
    void OnSetPenWidth();
    void OnClearMaze() { ClearMaze(false); }
    void ClearMaze(bool keepSeedPoints);
    // False, leaving the document as it was, when growing cannot start.
    bool OnGenerateMaze();
    void GrowMaze();
    void OnSolveMaze();
    void DrawSolutionCell(int column, int row, int grid);
    int RegenerateMaze();
    void OnReRenderMaze() { RegenerateMaze(); }
    void SetCellPainter(ICellPainter* painter) { cellPainter_ = painter; }

    // The document file (WkzDocumentFile, WkzFileCommands). Open, Save and Save As ask for the
    // file; Serialize stores or loads through an archive in the layout formatVersion picks and
    // returns whether it did (failures leave pendingMessage).
    void OnFileOpen();
    void OnFileSave();
    bool Serialize(CArchive& ar);
    ICellPainter* CellPainter() const { return cellPainter_; }

    // Plain state.
    // (The maze's progress, from MazeProgress: cursor, frontier, seed points, flags.)
    std::string pendingMessage; // shown by the view at its next drawing
    double formatVersion = 1.0;
    int tilerReloadPending = 0;
    std::string installFolder;
    std::vector<CLogicalRectTracker> layerObjects; // texts and pictures, in drawing order

private:
    void RegisterCommands();
    // Forgets what growing the previous grids left behind.
    void ResetGrowthState();
    bool HasLayerObjects() const { return !layerObjects.empty(); }
    void DeleteLayerObjects() { layerObjects.clear(); }
    SettingsPageExchange::Circular CircularValues() const;
    bool RunSheet(int page);
    bool NeedsRebuild(const MazeSettings& next) const;
    // Says why the pages' values can't build a maze, if they can't.
    bool Refuses() const;
    void ApplySettings(const MazeSettings& next, bool rebuild);
    void TakeCircularValues();

    CProfile& profile_;
    HeadlessInfoPane headlessPane_;
    IInfoPane* infoPane_ = &headlessPane_;
    ISettingsSheet* sheet_ = nullptr;

    MazeSettings settings_;
    int marginX_ = 0;
    int marginY_ = 0;
    int cachedCellWidth_ = 400;
    int cachedCellHeight_ = 400;
    CellColours colours_;
    SettingsPages pages_;

    MazeGrids grids_{settings_};
    std::uint64_t gridGeneration_ = 0;
    ICellPainter* cellPainter_ = nullptr;
};
