#include "screens/TreasureBoxContent.h"

#include "audio/SoundNumbers.h"
#include "play/GameState.h"
#include "screens/MessageTables.h"

namespace poronpa {

namespace {
constexpr int FirstMemo = 101;
} // namespace

TreasureBoxContent treasureBoxContent(int boxContent)
{
    static_assert(TreasureBoxContent::PageSound == sounds::Click);
    TreasureBoxContent content;
    content.caption = "たからばこ";
    const int memoCount = static_cast<int>(texts::MemoTexts.size());
    if (boxContent == BoxOfferingsMissing) {
        content.caption = "ポロンパ";
        content.firstPage = "お月見に必要なものが足りない！！";
        content.openingSound = sounds::Nothing;
    } else if (boxContent >= FirstMemo && boxContent < FirstMemo + memoCount) {
        content.picture = TreasureBoxContent::Picture::Memo;
        content.firstPage = "メモが入っていた。";
        content.secondPage = texts::MemoTexts[static_cast<std::size_t>(boxContent - FirstMemo)];
        content.openingSound = sounds::Memo;
    } else if (boxContent >= 0 && boxContent < ItemCount) {
        content.picture = TreasureBoxContent::Picture::Item;
        content.item = boxContent;
        content.firstPage = texts::ItemName[static_cast<std::size_t>(boxContent)] + "\nを手に入れた!";
        content.secondPage = texts::ItemText[static_cast<std::size_t>(boxContent)];
        content.openingSound = sounds::Item;
    } else {
        content.firstPage = "からっぽ!";
        content.openingSound = sounds::Nothing;
    }
    return content;
}

void appendClickedThroughSounds(int boxContent, std::vector<int>& sounds)
{
    const TreasureBoxContent content = treasureBoxContent(boxContent);
    sounds.push_back(content.openingSound);
    sounds.insert(sounds.end(), static_cast<std::size_t>(content.pages()), TreasureBoxContent::PageSound);
}

} // namespace poronpa
