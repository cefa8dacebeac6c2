#pragma once

#include "world/MapGrid.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace poronpa {

/// An area of the world, column and row 0..4.
struct AreaPosition {
    int x = 0;
    int y = 0;
    bool operator==(const AreaPosition&) const = default;
};

/// One step of the editor's undo history: every cell write of a stroke or a tool, in order.
class MapEdit {
public:
    /// `area` is where the edit was made, for edits that stay inside one area.
    explicit MapEdit(std::optional<AreaPosition> area = std::nullopt) : area_(area) {}

    /// Writes a stored cell (x and y 0..249) and records the write; a cell outside them is left
    /// alone, and writing the value a cell already holds is not recorded.
    void write(MapGrid& map, int x, int y, std::uint8_t tile);

    /// Puts back what the cells held before the edit.
    void revert(MapGrid& map) const;
    /// Writes the edit's cells again.
    void apply(MapGrid& map) const;

    bool empty() const { return changes_.empty(); }
    /// How many cell writes the edit holds.
    std::size_t size() const { return changes_.size(); }
    std::optional<AreaPosition> area() const { return area_; }

private:
    struct CellChange {
        std::uint8_t x, y, before, after;
    };
    std::optional<AreaPosition> area_;
    std::vector<CellChange> changes_;
};

/// The undo and redo stacks, and whether the map differs from what was last loaded or saved.
class EditHistory {
public:
    /// Records an edit that has been written to the map; an empty one is dropped. Whatever
    /// could be redone is forgotten.
    void push(MapEdit edit);

    /// Reverts the latest edit and returns it, or nothing when there is none.
    const MapEdit* undo(MapGrid& map);
    /// Writes the latest undone edit again and returns it, or nothing when there is none.
    const MapEdit* redo(MapGrid& map);

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }

    /// The map now matches its file.
    void markSaved() { savedDepth_ = done_.size(); }
    /// Forgets every edit: the map was just loaded.
    void clear();
    /// Whether the map differs from its file by any edit.
    bool modified() const { return savedDepth_ != done_.size(); }

private:
    std::vector<MapEdit> done_;
    std::vector<MapEdit> undone_;
    // How many edits were done when the map last matched its file; none once those edits were
    // undone and replaced by others.
    std::optional<std::size_t> savedDepth_ = 0;
};

} // namespace poronpa
