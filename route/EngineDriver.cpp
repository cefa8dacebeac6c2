#include "route/EngineDriver.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace poronpa::route {

namespace {

static_assert(std::is_standard_layout_v<GameState> && std::is_trivially_copyable_v<GameState>,
              "snapshots copy the game state byte by byte");

constexpr std::size_t CellsAt = offsetof(GameState, AreaCells);
constexpr std::size_t CellsEnd = CellsAt + sizeof(GameState::AreaCells);
constexpr std::size_t KeysAt = offsetof(GameState, KeyHeld);
constexpr std::size_t KeysEnd = KeysAt + sizeof(GameState::KeyHeld);
static_assert(CellsEnd <= KeysAt, "the area cells come before the held keys");

/// The byte ranges of GameState a snapshot keeps as they are.
constexpr std::size_t PackedSize = CellsAt + (KeysAt - CellsEnd) + (sizeof(GameState) - KeysEnd);

} // namespace

EngineDriver::EngineDriver(const MapGrid& map)
    : map_(map), host_([](const std::string&) {}), engine_(map)
{
    engine_.setDrawingWanted(false);
}

void EngineDriver::startNewGame(const GameStart& start)
{
    engine_.startFromTitle(TitleChoice::NewGame, start);
    runner_.beginLoop();
    frame_ = 0;
    ending_ = false;
}

bool EngineDriver::step(const sim::KeySet& keys)
{
    ++frame_;
    const StepEnd end = runner_.runFrame(keys);
    if (end == StepEnd::Next)
        return true;
    ending_ = end == StepEnd::Ending;
    return false;
}

Snapshot EngineDriver::save() const { return save(nullptr); }

Snapshot EngineDriver::save(const SharedCells& reuse) const
{
    const GameState& s = engine_.state();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&s);
    Snapshot snapshot;
    snapshot.fields.reserve(PackedSize);
    snapshot.fields.insert(snapshot.fields.end(), bytes, bytes + CellsAt);
    snapshot.fields.insert(snapshot.fields.end(), bytes + CellsEnd, bytes + KeysAt);
    snapshot.fields.insert(snapshot.fields.end(), bytes + KeysEnd, bytes + sizeof(GameState));
    if (reuse && *reuse == s.AreaCells)
        snapshot.cells = reuse;
    else
        snapshot.cells = std::make_shared<const std::array<std::array<std::uint8_t, 51>, 51>>(s.AreaCells);
    for (std::size_t k = 0; k < s.KeyHeld.size(); ++k)
        snapshot.keyHeld[k] = s.KeyHeld[k];
    snapshot.scriptKeys = runner_.held();
    snapshot.frame = frame_;
    snapshot.ending = ending_;
    return snapshot;
}

void EngineDriver::restore(const Snapshot& snapshot)
{
    GameState& s = engine_.state();
    auto* bytes = reinterpret_cast<std::uint8_t*>(&s);
    const std::uint8_t* from = snapshot.fields.data();
    std::memcpy(bytes, from, CellsAt);
    from += CellsAt;
    std::memcpy(bytes + CellsEnd, from, KeysAt - CellsEnd);
    from += KeysAt - CellsEnd;
    std::memcpy(bytes + KeysEnd, from, sizeof(GameState) - KeysEnd);
    s.AreaCells = *snapshot.cells;
    for (std::size_t k = 0; k < s.KeyHeld.size(); ++k)
        s.KeyHeld[k] = snapshot.keyHeld[k];
    runner_.restoreHeld(snapshot.scriptKeys);
    frame_ = snapshot.frame;
    ending_ = snapshot.ending;
}

} // namespace poronpa::route
