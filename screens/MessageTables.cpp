#include "screens/MessageTables.h"

#include "app/base/Translation.h"

#include <cmath>

namespace poronpa::texts {

std::string windowCaption()
{
    return ApplicationTitle + " Ver " + std::to_string(VersionMajor) + "." + std::to_string(VersionMinor);
}

const std::array<std::string, 11> ItemName = {
    PORONPA_TR("Items", "青のカギ"),
    PORONPA_TR("Items", "緑のカギ"),
    PORONPA_TR("Items", "赤のカギ"),
    PORONPA_TR("Items", "黄のカギ"),
    PORONPA_TR("Items", "ゼンボのにっきちょう"),
    PORONPA_TR("Items", "ゼンボのジャンプ靴"),
    PORONPA_TR("Items", "ゼンボの潜水帽"),
    PORONPA_TR("Items", "ゼンボのロープ"),
    PORONPA_TR("Items", "月見だんご"),
    PORONPA_TR("Items", "すすき"),
    "",
};

const std::array<std::string, 11> ItemText = {
    PORONPA_TR("Items", "これで青色のとびらが開くぞ！"),
    PORONPA_TR("Items", "これで緑色のとびらが開くぞ！"),
    PORONPA_TR("Items", "これで赤色のとびらが開くぞ！"),
    PORONPA_TR("Items", "これで黄色のとびらが開くぞ！"),
    PORONPA_TR("Items", "Sキーでセーブが出来るぞ!"),
    PORONPA_TR("Items", "これをはけば高くジャンプ出来るぞ!"),
    PORONPA_TR("Items", "これさえあれば水中でもへっちゃらだ!"),
    PORONPA_TR("Items", "かぎづめにひっかけて登ることができるぞ！"),
    PORONPA_TR("Items", "お月見にはひつようふかけつだ！"),
    PORONPA_TR("Items", "これがないとお月見とは言わないぞ!"),
    "",
};

const std::array<std::string, play::MissPhraseCount> MissPhrases = {
    PORONPA_TR("MissPhrases", "のーん"),
    PORONPA_TR("MissPhrases", "おこるでしかし"),
    PORONPA_TR("MissPhrases", "なむでやねん"),
    PORONPA_TR("MissPhrases", "やる気が　あるのか"),
    PORONPA_TR("MissPhrases", "キエー"),
    PORONPA_TR("MissPhrases", "アンタ"),
    PORONPA_TR("MissPhrases", "ガミガミ"),
    PORONPA_TR("MissPhrases", "む"),
    PORONPA_TR("MissPhrases", "キミィ"),
    PORONPA_TR("MissPhrases", "困りますな"),
    PORONPA_TR("MissPhrases", "まいったねこりゃ"),
    PORONPA_TR("MissPhrases", "イヤーン"),
    PORONPA_TR("MissPhrases", "バブー"),
    PORONPA_TR("MissPhrases", "もう君とはやっとれんわ"),
    PORONPA_TR("MissPhrases", "ウゥオオオオォォォォリィヤアアアアァァァァ"),
};

const std::array<std::string, 7> OptionCaptions = {
    PORONPA_TR("Options", "BGM"), PORONPA_TR("Options", "ON"), PORONPA_TR("Options", "OFF"),
    PORONPA_TR("Options", "SE"),  PORONPA_TR("Options", "ON"), PORONPA_TR("Options", "OFF"),
    PORONPA_TR("Options", "戻 る"),
};

const std::array<std::string, 6> MemoTexts = {
    PORONPA_TR("Memos", "城の上に行くには、城の中央部分から。"),
    PORONPA_TR("Memos", "すすきは、地中深くの大きな空洞の中に置く。"),
    PORONPA_TR("Memos", "ロープは、溶岩のはるか上に置く。"),
    PORONPA_TR("Memos", "Ｒを上げるには、まず「よろ」のあいさつから。"),
    PORONPA_TR("Memos", "よく見つけたね。あんたはえらい！！"),
    PORONPA_TR("Memos", "たからばこは　ひとくいばこだった！！　うそ。"),
};

std::string saveFailedText(const std::string& reason)
{
    return translate("Messages", "セーブできませんでした。") + "\n" + reason;
}

std::string loadFailedText(const std::string& reason)
{
    return translate("Messages", "ロードできませんでした。") + "\n" + reason;
}

} // namespace poronpa::texts
