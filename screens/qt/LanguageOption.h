#pragma once

#include <QObject>

#include <array>

class QWidget;

namespace poronpa {

class MouseLabel;
struct Settings;

/// The options screen's row for the language: a heading, then 日本語 and English, each in its own
/// language, the one not chosen dimmed. A choice is kept in the settings and puts the game into
/// that language at once.
class LanguageOption : public QObject {
public:
    /// Lays out its labels (hidden) on `picTitle`, the language installed shown as chosen.
    LanguageOption(QWidget& picTitle, Settings& settings);

    void setVisible(bool visible);
    /// The heading, 日本語 and English.
    MouseLabel& label(int index) const { return *labels_.at(static_cast<std::size_t>(index)); }
    void label_Click(int index);

private:
    void showChosen(int index);

    Settings& settings_;
    std::array<MouseLabel*, 3> labels_{};
};

} // namespace poronpa
