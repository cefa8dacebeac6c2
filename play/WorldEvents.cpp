#include "play/GameEngineImpl.h"

#include "audio/SoundNumbers.h"
#include "play/BoxContents.h"
#include "play/KeyCodes.h"

#include "play/StartAndBand.h"
#include "play/SavedGame.h"

#include <limits>

namespace poronpa {

namespace {

/// What every treasure box of an area holds, indexed [column][row].
constexpr std::int16_t BoxTable[MapGrid::Areas][MapGrid::Areas] = {
    {7, BoxEmpty, 103, BoxEmpty, 1},         // column 0
    {BoxEmpty, BoxEmpty, 6, 104, 4},         // column 1
    {BoxEmpty, 8, 0, BoxEmpty, 102},         // column 2
    {BoxEmpty, BoxEmpty, 5, 101, BoxEmpty},  // column 3
    {3, 106, 105, 2, 9},                     // column 4
};

std::size_t at(std::int16_t index) { return static_cast<std::size_t>(index); }

} // namespace

std::int16_t areaBoxContent(int areaX, int areaY) { return BoxTable[areaX][areaY]; }

void GameEngine::Impl::placeHeroAfresh()
{
    s.HeroVX = 0;
    s.HeroVY = 0;
    s.HeroState = StatePlaced;
    // Nothing of the game left behind may run on: the rope, a mishap's countdown (the Q prompt
    // works while a ladder holds the hero in one), the diary pose, a compressed spring, a
    // crumbling block.
    releaseRope();
    s.EventTimer = 0;
    s.DiaryTimer = 0;
    s.SpringTimer = 0;
    s.BumperTimer = 0;
    s.CrumbleTimer = 0;
}

void GameEngine::Impl::NewGame()
{
    s.AreaX = StartAreaX;
    s.AreaY = StartAreaY;
    for (int i = 0; i < ItemCount; ++i)
        s.ItemHeld[static_cast<std::size_t>(i)] = 0;
    for (auto& column : s.MiniMapColor)
        column.fill(MiniMapUnvisited);
    s.HeroX = StartX;
    s.HeroY = StartY;
    s.SwitchOn = 1;
    s.RunFrames = 0;
    placeHeroAfresh();
    // A load keeps these as they were; a new game starts them afresh.
    s.JumpCount = 0;
    s.SplashTimer = 0;
    ClearKeys();
}

void GameEngine::Impl::EnterArea()
{
    PlayAreaMusic();
    s.MiniMapColor[at(s.AreaX)][at(s.AreaY)] = MiniMapCurrent;
    // The edges are crossed one after the other, so a hero crossing a side in the frame it
    // drops out of the bottom row (or the top while pushing the world's side) enters a little
    // beyond the band; a respawn there would start outside it, and a save read back as damaged.
    s.RespawnX = intoBand(s.HeroX);
    s.RespawnY = intoBand(s.HeroY);
    // A rope hooked in the old area has nothing to hang from here.
    releaseRope();
    draw(play::DrawOp::Kind::Area, s.AreaX, s.AreaY);
    for (int i = 0; i <= 50; ++i)
        for (int j = 0; j <= 50; ++j)
            s.AreaCells[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                map.areaCell(s.AreaX, s.AreaY, i, j);
    s.SavedHere = 0;
    s.GoalTouched = 0;
}

void GameEngine::Impl::PlayAreaMusic() { request(play::Request::Kind::Music, s.AreaY == 0 ? tunes::Sky : tunes::Field); }

void GameEngine::Impl::OpenTreasureBox()
{
    std::int16_t content = BoxTable[at(s.AreaX)][at(s.AreaY)];
    if (content >= 0 && content <= 100 && s.ItemHeld[at(content)] != 0)
        content = BoxEmpty;
    s.BoxContent = content;
    if (content >= 0 && content < ItemCount)
        s.ItemHeld[at(content)] = 1;
    request(play::Request::Kind::TreasureBox, content);
    ClearKeys();
}

void GameEngine::Impl::reachViewingSpot()
{
    if (s.ItemHeld[Dumplings] != 0 && s.ItemHeld[PampasGrass] != 0) {
        s.Facing = 0;
        s.HeroState = StateArrived;
        s.EventTimer = 150;
        return;
    }
    s.BoxContent = BoxOfferingsMissing;
    request(play::Request::Kind::TreasureBox, BoxOfferingsMissing);
    ClearKeys();
    heldUp();
}

void GameEngine::Impl::startMishap(std::int16_t state, std::int32_t frames, int sound)
{
    // The first mishap's countdown runs to its end; a later one only changes the state.
    s.HeroState = state;
    if (s.EventTimer == 0) {
        s.EventTimer = frames;
        if (sound != 0)
            playSound(sound);
    }
}

void GameEngine::Impl::saveWithDiary()
{
    if (s.SavedHere != 0 || !held(keys::S) || s.ItemHeld[Diary] == 0)
        return;
    SaveRecord record;
    record.AreaX = s.AreaX;
    record.AreaY = s.AreaY;
    record.RespawnX = s.RespawnX;
    record.RespawnY = s.RespawnY;
    record.SwitchOn = s.SwitchOn;
    for (std::size_t i = 0; i < record.ItemHeld.size(); ++i)
        record.ItemHeld[i] = s.ItemHeld[i];
    record.MiniMapColor = s.MiniMapColor;
    record.DeathCount = s.DeathCount;
    record.RunFrames = s.RunFrames;
    SaveResult result = saves->save(record);
    if (!result.saved) {
        failed(play::Request::Kind::SaveFailed, std::move(result.reason));
        ClearKeys();
        heldUp();
        return;
    }
    playSound(sounds::Click);
    s.SavedHere = 1;
    s.DiaryTimer = 30;
}

bool GameEngine::Impl::LoadGame(int back)
{
    LoadResult result = saves->load(back);
    const SaveRecord& record = result.record;
    switch (result.outcome) {
    case LoadOutcome::NoFile:
        NewGame();
        EnterArea();
        heldUp();
        return true;
    case LoadOutcome::NeverWritten:
        return false;
    case LoadOutcome::Unreadable:
        failed(play::Request::Kind::LoadFailed, std::move(result.reason));
        heldUp();
        return false;
    case LoadOutcome::Loaded:
        break;
    }
    s.AreaX = record.AreaX;
    s.AreaY = record.AreaY;
    s.HeroX = record.RespawnX;
    s.HeroY = record.RespawnY;
    s.SwitchOn = record.SwitchOn;
    for (std::size_t i = 0; i < record.ItemHeld.size(); ++i)
        s.ItemHeld[i] = record.ItemHeld[i];
    s.MiniMapColor = record.MiniMapColor;
    s.DeathCount = record.DeathCount;
    s.RunFrames = record.RunFrames;
    placeHeroAfresh();
    EnterArea();
    heldUp();
    return true;
}

void GameEngine::Impl::respawn()
{
    s.HeroX = s.RespawnX;
    s.HeroY = s.RespawnY;
    s.HeroState = StatePlaced;
    // A count a saved game brought in may already stand at its largest value; it stays there.
    std::int32_t& deaths = s.DeathCount[at(s.AreaX)][at(s.AreaY)];
    if (deaths < std::numeric_limits<std::int32_t>::max())
        ++deaths;
    s.EventTimer = 0;
    // A haul cut short by the mishap does not go on from the respawn point.
    releaseRope();
}

StepEnd GameEngine::Impl::StartEnding()
{
    s.InputOff = true;
    // The viewing spot and its platform turn to stone in the last picture of play.
    draw(play::DrawOp::Kind::Stones);
    s.StopLoop = true;
    return StepEnd::Ending;
}

} // namespace poronpa
