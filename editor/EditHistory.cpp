#include "editor/EditHistory.h"

namespace poronpa {

void MapEdit::write(MapGrid& map, int x, int y, std::uint8_t tile)
{
    // Column and row 250 must stay 0 and nothing lies beyond them.
    if (!MapGrid::isStored(x, y))
        return;
    const std::uint8_t before = map.cell(x, y);
    if (before == tile)
        return;
    map.setCell(x, y, tile);
    changes_.push_back({static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), before, tile});
}

void MapEdit::revert(MapGrid& map) const
{
    // Backwards, so that a cell written twice (a stroke passing over it again) ends as it began.
    for (auto change = changes_.rbegin(); change != changes_.rend(); ++change)
        map.setCell(change->x, change->y, change->before);
}

void MapEdit::apply(MapGrid& map) const
{
    for (const CellChange& change : changes_)
        map.setCell(change.x, change.y, change.after);
}

void EditHistory::push(MapEdit edit)
{
    if (edit.empty())
        return;
    if (savedDepth_ && *savedDepth_ > done_.size())
        savedDepth_.reset();
    undone_.clear();
    done_.push_back(std::move(edit));
}

const MapEdit* EditHistory::undo(MapGrid& map)
{
    if (done_.empty())
        return nullptr;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    undone_.back().revert(map);
    return &undone_.back();
}

const MapEdit* EditHistory::redo(MapGrid& map)
{
    if (undone_.empty())
        return nullptr;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    done_.back().apply(map);
    return &done_.back();
}

void EditHistory::clear()
{
    done_.clear();
    undone_.clear();
    savedDepth_ = 0;
}

} // namespace poronpa
