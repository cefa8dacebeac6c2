#include "play/SaveFileStore.h"

namespace poronpa {

SaveResult SaveFileStore::save(const SaveRecord& record)
{
    const FileStatus status = SaveGame(file_, record);
    return {status.ok(), status.error};
}

LoadResult SaveFileStore::load(int back)
{
    LoadResult result;
    result.outcome = LoadGameRecord(file_, back, result.record, &result.reason);
    return result;
}

} // namespace poronpa
