#include "screens/MessageTables.h"

#include <cmath>

namespace poronpa::texts {

std::string windowCaption()
{
    return ApplicationTitle + " Ver " + std::to_string(VersionMajor) + "." + std::to_string(VersionMinor);
}

const std::array<std::string, 11> ItemName = {
    "青のカギ",
    "緑のカギ",
    "赤のカギ",
    "黄のカギ",
    "ゼンボのにっきちょう",
    "ゼンボのジャンプ靴",
    "ゼンボの潜水帽",
    "ゼンボのロープ",
    "月見だんご",
    "すすき",
    "",
};

const std::array<std::string, 11> ItemText = {
    "これで青色のとびらが開くぞ！",
    "これで緑色のとびらが開くぞ！",
    "これで赤色のとびらが開くぞ！",
    "これで黄色のとびらが開くぞ！",
    "Sキーでセーブが出来るぞ!",
    "これをはけば高くジャンプ出来るぞ!",
    "これさえあれば水中でもへっちゃらだ!",
    "かぎづめにひっかけて登ることができるぞ！",
    "お月見にはひつようふかけつだ！",
    "これがないとお月見とは言わないぞ!",
    "",
};

const std::array<std::string, play::MissPhraseCount> MissPhrases = {
    "のーん",
    "おこるでしかし",
    "なむでやねん",
    "やる気が　あるのか",
    "キエー",
    "アンタ",
    "ガミガミ",
    "む",
    "キミィ",
    "困りますな",
    "まいったねこりゃ",
    "イヤーン",
    "バブー",
    "もう君とはやっとれんわ",
    "ウゥオオオオォォォォリィヤアアアアァァァァ",
};

const std::array<std::string, 7> OptionCaptions = {
    "BGM", "ON", "OFF", "SE", "ON", "OFF", "戻 る",
};

const std::array<std::string, 6> MemoTexts = {
    "城の上に行くには、城の中央部分から。",
    "すすきは、地中深くの大きな空洞の中に置く。",
    "ロープは、溶岩のはるか上に置く。",
    "Ｒを上げるには、まず「よろ」のあいさつから。",
    "よく見つけたね。あんたはえらい！！",
    "たからばこは　ひとくいばこだった！！　うそ。",
};

std::string saveFailedText(const std::string& reason) { return "セーブできませんでした。\n" + reason; }

std::string loadFailedText(const std::string& reason) { return "ロードできませんでした。\n" + reason; }

} // namespace poronpa::texts
