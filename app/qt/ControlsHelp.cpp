#include "app/qt/ControlsHelp.h"

#include "screens/qt/Fonts.h"
#include "app/qt/VirtualKeys.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cstring>

namespace poronpa {

namespace {

struct Row {
    QString keys;
    QString what;
};

struct Group {
    QString heading;
    std::vector<Row> rows;
};

/// A text of the controls window's tables in the player's language.
QString translated(const char* source)
{
    return QCoreApplication::translate("Controls", source);
}

/// The lines of play: an action's keys and what it does, the keys of actions listed one after the
/// other with the same words on one line.
std::vector<Row> playRows(const KeyMap& keys)
{
    std::vector<Row> rows;
    const char* lastHelp = nullptr;
    for (const KeyAction& action : KeyActions) {
        if (lastHelp && std::strcmp(lastHelp, action.help) == 0)
            rows.back().keys += QStringLiteral(" ") + keys.keyText(action.action);
        else
            rows.push_back({keys.keyText(action.action), translated(action.help)});
        lastHelp = action.help;
    }
    return rows;
}

std::vector<Row> padRows()
{
    std::vector<Row> rows{{QCoreApplication::translate("Controls", "十字キー・左スティック"),
                           QCoreApplication::translate("Controls", "移動（上下左右のキーと同じ）")}};
    for (const KeyAction& action : KeyActions)
        if (action.padHelp)
            rows.push_back({QString::fromUtf8(padButtonName(action.padButton)), translated(action.padHelp)});
    rows.push_back({QCoreApplication::translate("Controls", "確認の画面で"),
                    QCoreApplication::translate("Controls", "A で決定、B で取り消し、十字キーでボタンを選ぶ")});
    return rows;
}

std::vector<Group> groups(const KeyMap& keys)
{
    return {
        {QCoreApplication::translate("Controls", "ゲーム中"), playRows(keys)},
        {QCoreApplication::translate("Controls", "タイトル画面"),
         {
             {QStringLiteral("↑ ↓"), QCoreApplication::translate("Controls", "項目を選ぶ（Enter で決める）")},
             {QStringLiteral("Space"), QCoreApplication::translate("Controls", "はじめから")},
             {QStringLiteral("L"), QCoreApplication::translate("Controls", "つづきから")},
             {QStringLiteral("Esc"), QCoreApplication::translate("Controls", "設定から戻る")},
         }},
        {QCoreApplication::translate("Controls", "ウィンドウ"),
         {
             {QStringLiteral("F1"), QCoreApplication::translate("Controls", "この操作説明")},
             {QStringLiteral("F11 / Alt+Enter"), QCoreApplication::translate("Controls", "全画面表示の切り替え")},
             {QCoreApplication::translate("Controls", "Ctrl と + / Ctrl と -"),
              QCoreApplication::translate("Controls", "画面を大きく・小さく")},
             {QCoreApplication::translate("Controls", "Ctrl と 0"),
              QCoreApplication::translate("Controls", "画面を元の大きさに")},
         }},
        {QCoreApplication::translate("Controls", "ゲームパッド"), padRows()},
    };
}

} // namespace

ControlsHelp::ControlsHelp(const KeyMap& keys, int scale, QWidget* parent, int columns) : QDialog(parent)
{
    setWindowTitle(QCoreApplication::translate("Controls", "操作説明"));
    QFont font = fonts::gothic(9.75);
    font.setPixelSize(font.pixelSize() * scale);
    setFont(font);

    // In two columns, the keyboard's keys beside the window's and the gamepad's, the window stays
    // lower than the screen even with type several times the game's size; one column suits a
    // narrow screen.
    const std::vector<Group> all = groups(keys);
    const std::size_t split = columns >= 2 ? all.size() / 2 : all.size();
    auto* row = new QHBoxLayout;
    row->setSpacing(8 * scale);
    for (const auto& [first, end] : {std::pair{std::size_t{0}, split}, std::pair{split, all.size()}}) {
        if (first == end)
            continue;
        // One column is for small screens, and tighter.
        QString html = QStringLiteral("<table cellspacing='0' cellpadding='%1'>").arg((columns >= 2 ? 2 : 1) * scale);
        for (std::size_t g = first; g < end; ++g) {
            const Group& group = all[g];
            html += QStringLiteral("<tr><td colspan='2'><b>%1</b></td></tr>").arg(group.heading.toHtmlEscaped());
            listing_ += QStringLiteral("[%1]\n").arg(group.heading);
            for (const Row& line : group.rows) {
                html += QStringLiteral("<tr><td>&nbsp;&nbsp;%1&nbsp;&nbsp;</td><td>%2</td></tr>")
                            .arg(line.keys.toHtmlEscaped(), line.what.toHtmlEscaped());
                listing_ += line.keys + QStringLiteral(" : ") + line.what + QLatin1Char('\n');
            }
        }
        html += QStringLiteral("</table>");
        auto* text = new QLabel(html, this);
        text->setTextFormat(Qt::RichText);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        row->addWidget(text, 0, Qt::AlignTop);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString ControlsHelp::listing() const
{
    return listing_;
}

} // namespace poronpa
