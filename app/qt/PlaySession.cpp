#include "app/qt/PlaySession.h"

#include "app/base/FileNames.h"
#include "app/base/TemporaryFolder.h"
#include "app/qt/PlayRecords.h"
#include "app/qt/ReplayInput.h"
#include "app/qt/SidePanel.h"
#include "audio/AudioSystem.h"
#include "play/GameEngine.h"
#include "screens/MessageTables.h"
#include "screens/qt/EndingSequence.h"
#include "screens/qt/OptionsScreen.h"
#include "screens/qt/RunOptions.h"
#include "screens/qt/TreasureBoxDialog.h"
#include "settings/Settings.h"
#include "world/WorldPlaces.h"

#include <QKeyEvent>
#include <QMessageBox>

#include <iostream>

namespace poronpa {

PlaySession::PlaySession(const MapGrid& map, const std::filesystem::path& world, AudioSystem& audio,
                         Settings& settings, const KeyMap& keyMap, BoxHost& boxes, const SessionScreens& screens,
                         const Surface& tileSheet, const Surface& spriteSheet)
    : map_(map), world_(world), audio_(audio), settings_(settings), keyMap_(keyMap), boxes_(boxes), screens_(screens),
      engine_(std::make_unique<GameEngine>(map)), playerSaves_(worldPlayerFile(world, filenames::Saves)), input_(keyMap),
      host_(std::make_unique<GamePlayHost>(static_cast<PlaySurroundings&>(*this), screens.play, *engine_, map, tileSheet, spriteSheet)),
      replays_(map, playerSaves_, world)
{
    engine_->setFrameRate(settings_.FrameRate);
    engine_->setSaveStore(playerSaves_);
    title_ = std::make_unique<TitleScreen>(screens_.picTitle, screens_.play.panel.lblBeta2(), audio_.sound(),
                                           audio_.music(), static_cast<TitleActions&>(*this));
    options_ = std::make_unique<OptionsScreen>(screens_.picTitle, settings_, audio_.sound(), audio_.music(),
                                               [this] { title_->ShowOptions(false); });
    title_->setOptionsScreen(options_.get());
    records_ = std::make_unique<PlayRecords>(map_, settings_, playerSaves_, screens_.play.panel, screens_.play.canvas,
                                             spriteSheet);
    host_->frameEnded = [this](const GameState& state) { records_->frameEnded(state); };
    options_->runOptions().showBestTimes(records_->bestTimeLines());
    ending_ = std::make_unique<EndingSequence>(screens_.client, screens_.play.frame, screens_.play.panel.controls(),
                                               audio_.sound(), audio_.music());
}

PlaySession::~PlaySession() = default;

void PlaySession::showTitle()
{
    state_ = State::Title;
    title_->ShowTitle();
}

void PlaySession::startTestPlay(const GameStart& start, std::function<void()> over)
{
    testPlayOver_ = std::move(over);
    testPlayFolder_ = std::make_unique<TemporaryFolder>(TestPlayFolder);
    testPlaySaves_ = std::make_unique<SaveFileStore>(*testPlayFolder_ / filenames::Saves);
    engine_->setSaveStore(*testPlaySaves_);
    engine_->startNewGame(start);
    play(State::Playing);
}

void PlaySession::watch(const std::filesystem::path& file)
{
    std::string error;
    watched_ = ReplayInput::open(file, *engine_, *host_, keyMap_, error);
    if (!watched_) {
        // Reading the replay may have set the engine up for it already.
        engine_->setSaveStore(playerSaves_);
        engine_->setFrameRate(settings_.FrameRate);
        tell(true, error);
        return;
    }
    state_ = State::Watching;
    input_.follow(watched_.get());
    const auto start = [this] {
        if (state_ == State::Watching)
            play(State::Watching);
    };
    if (const std::string note = watched_->anotherMapNote(map_); !note.empty())
        tell(false, note, start);
    else
        start();
}

void PlaySession::play(State state)
{
    state_ = state;
    screens_.picTitle.hide();
    host_->takeEvents();
    host_->startLoop();
}

void PlaySession::close()
{
    if (state_ == State::Closed)
        return;
    host_->stop();
    state_ = State::Closed;
    audio_.music().BGMStop();
    ending_->stop();
}

void PlaySession::key(const QKeyEvent& event)
{
    if (host_->playing())
        input_.key(event);
}

void PlaySession::padButton(PadButton button, bool down, const QWindow* game)
{
    KeyMap::PadContext context = KeyMap::PadContext::Play;
    // The options screen has a box's way out: B (Escape) goes back.
    if (state_ == State::Title)
        context = title_->optionsShown() ? KeyMap::PadContext::Dialog : KeyMap::PadContext::Title;
    input_.padButton(button, down, game, context);
}

void PlaySession::letGoOfKeys()
{
    input_.player().keys().releaseAll();
}

void PlaySession::forgetHeldKeys()
{
    engine_->ClearKeys();
    input_.player().keys().clear();
}

void PlaySession::boxesClosed()
{
    host_->boxesClosed();
}

void PlaySession::resetGame()
{
    // A note of the last game's save is not this game's.
    screens_.play.panel.clearSavedNote();
    engine_->NewGame();
    host_->takeEvents();
}

void PlaySession::enterStartArea()
{
    engine_->startFromTitle(TitleChoice::NewGame);
    host_->takeEvents();
    replays_.started(false);
    records_->titleStarted(true);
}

void PlaySession::continueGame()
{
    engine_->startFromTitle(TitleChoice::Continue);
    host_->takeEvents();
    replays_.started(true);
    records_->titleStarted(false);
}

void PlaySession::runGame()
{
    state_ = State::Playing;
    host_->startLoop();
}

const AreaCounters& PlaySession::deathCounts() const
{
    return engine_->state().DeathCount;
}

void PlaySession::showBox(QDialog* box)
{
    boxes_.openBox(box, {});
}

void PlaySession::playSound(int number)
{
    audio_.sound().PlayAsync(number);
}

void PlaySession::playMusic(int tune)
{
    audio_.music().BGMPlay(tune, false);
}

void PlaySession::showTreasureBox(int content, std::function<void()> done)
{
    auto* dialog = new frmGetItem(&boxes_.boxParent(), content, audio_.sound());
    input_.source().treasureBoxOpened(*dialog);
    boxes_.openBox(dialog, [done = std::move(done)](int) { done(); });
}

void PlaySession::tellFailure(const std::string& message, std::function<void()> done)
{
    // A replay's failures are the recorded game's, not the watcher's.
    if (state_ == State::Watching) {
        std::cerr << "poronpa: the replay: " << message << '\n';
        done();
        return;
    }
    boxes_.openBox(new QMessageBox(QMessageBox::Warning, QString::fromStdString(texts::ApplicationTitle),
                                   QString::fromStdString(message), QMessageBox::Ok, &boxes_.boxParent()),
                   [done = std::move(done)](int) { done(); });
}

void PlaySession::ask(const std::string& question, std::function<void(bool)> answered)
{
    auto* box = new QMessageBox(QMessageBox::Question, QString::fromStdString(texts::ApplicationTitle),
                                QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No,
                                &boxes_.boxParent());
    boxes_.openBox(box, [answered = std::move(answered)](int answer) { answered(answer == QMessageBox::Yes); });
}

void PlaySession::loopStarts()
{
    replays_.loopStarts(engine_->state(), settings_.FrameRate);
    input_.player().keys().clear();
    const replay::ReplaySession* recording = replays_.recording();
    records_->loopStarts(recording ? recording->path() : std::filesystem::path());
}

void PlaySession::loopEnds()
{
    replays_.loopEnds();
    records_->loopEnds();
    if (state_ != State::Watching)
        return;
    // The player's own keys, saves and frame rate again for the games that follow.
    input_.follow(nullptr);
    watched_.reset();
    engine_->setSaveStore(playerSaves_);
    engine_->setFrameRate(settings_.FrameRate);
    host_->setSpeed(1);
    state_ = State::Title;
}

void PlaySession::finished(StepEnd end)
{
    if (end == StepEnd::Ending) {
        state_ = State::Ending;
        records_->reachedEnding(engine_->state(), [this] { replays_.flush(); });
        ending_->setBestTimes(records_->bestTimeLines());
        ending_->StartEnding();
    } else if (testPlayOver_) {
        testPlayOver_();
    } else {
        showTitle();
    }
}

void PlaySession::tell(bool warning, const std::string& text, std::function<void()> then)
{
    std::cerr << "poronpa: " << text << '\n';
    boxes_.openBox(new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information,
                                   QString::fromStdString(texts::ApplicationTitle), QString::fromStdString(text),
                                   QMessageBox::Ok, &boxes_.boxParent()),
                   [then = std::move(then)](int) {
                       if (then)
                           then();
                   });
}

} // namespace poronpa
