#pragma once

#include <string>
#include <vector>

namespace poronpa {

/// What the treasure box dialog shows and plays for a BoxContent value, decided here once for the
/// game's dialog and for the simulator, which opens and closes it at once.
struct TreasureBoxContent {
    enum class Picture { Item, Memo, Dud };
    Picture picture = Picture::Dud;
    int item = -1;              ///< whose icon shows, with Picture::Item
    std::string caption;        ///< the dialog's caption
    std::string firstPage;
    std::string secondPage;     ///< empty when the dialog has one page
    int openingSound = 0;       ///< played as the dialog opens
    static constexpr int PageSound = 1; ///< played by every press of OK

    int pages() const { return secondPage.empty() ? 1 : 2; }
};

/// The dialog for a BoxContent value. Values no box holds (an item without an icon, a memo
/// without a text) show as an empty box rather than reading past a table's end.
TreasureBoxContent treasureBoxContent(int boxContent);

/// The sounds of the dialog opened and then closed by pressing OK on each of its pages, in order.
void appendClickedThroughSounds(int boxContent, std::vector<int>& sounds);

} // namespace poronpa
