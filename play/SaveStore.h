#pragma once

#include "play/SavedGame.h"

#include <string>

namespace poronpa {

/// What became of a save the game asked for.
struct SaveResult {
    bool saved = false;
    std::string reason; ///< why not, for the player, when it was not saved
};

/// What became of a load the game asked for.
struct LoadResult {
    LoadOutcome outcome = LoadOutcome::NoFile;
    SaveRecord record;  ///< with LoadOutcome::Loaded
    std::string reason; ///< why not, for the player, with LoadOutcome::Unreadable
};

/// Where the game keeps its ring of saves. The engine asks it and never touches a file itself;
/// the window and the simulator hand it the player's save file, a replay hands it the saves the
/// recording began with and the failures the recorded game met.
class SaveStore {
public:
    virtual ~SaveStore() = default;
    /// Keeps `record` as the latest save.
    virtual SaveResult save(const SaveRecord& record) = 0;
    /// The save made `back` (0..9) saves before the latest.
    virtual LoadResult load(int back) = 0;
};

/// A store with no place to keep anything: every save fails, and there is never a save to load.
/// What an engine has until it is given a store.
class NoSaveStore final : public SaveStore {
public:
    SaveResult save(const SaveRecord&) override { return {false, "there is no place to keep saves"}; }
    LoadResult load(int) override { return {}; }
};

} // namespace poronpa
