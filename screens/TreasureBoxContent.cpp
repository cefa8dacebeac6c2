#include "screens/TreasureBoxContent.h"

#include "app/base/Translation.h"
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
    content.caption = translate("TreasureBox", "たからばこ");
    const int memoCount = static_cast<int>(texts::MemoTexts.size());
    if (boxContent == BoxOfferingsMissing) {
        content.caption = translate("TreasureBox", "ポロンパ");
        content.firstPage = translate("TreasureBox", "お月見に必要なものが足りない！！");
        content.openingSound = sounds::Nothing;
    } else if (boxContent >= FirstMemo && boxContent < FirstMemo + memoCount) {
        content.picture = TreasureBoxContent::Picture::Memo;
        content.firstPage = translate("TreasureBox", "メモが入っていた。");
        content.secondPage = translate("Memos", texts::MemoTexts[static_cast<std::size_t>(boxContent - FirstMemo)]);
        content.openingSound = sounds::Memo;
    } else if (boxContent >= 0 && boxContent < ItemCount) {
        content.picture = TreasureBoxContent::Picture::Item;
        content.item = boxContent;
        const auto item = static_cast<std::size_t>(boxContent);
        content.firstPage = withArguments(translate("TreasureBox", "%1\nを手に入れた!"), {translate("Items", texts::ItemName[item])});
        content.secondPage = translate("Items", texts::ItemText[item]);
        content.openingSound = sounds::Item;
    } else {
        content.firstPage = translate("TreasureBox", "からっぽ!");
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
