#pragma once

#include "play/SaveStore.h"

#include <filesystem>

namespace poronpa {

/// The ring of saves in a save file (SaveGame, LoadGameRecord): the player's, a test play's
/// scratch file, the simulator's.
class SaveFileStore final : public SaveStore {
public:
    explicit SaveFileStore(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& file() const { return file_; }

    SaveResult save(const SaveRecord& record) override;
    LoadResult load(int back) override;

private:
    std::filesystem::path file_;
};

} // namespace poronpa
