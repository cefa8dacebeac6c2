#pragma once

#include <QObject>

#include <array>
#include <functional>
#include <memory>

class QWidget;

namespace poronpa {

class LanguageOption;
class MouseLabel;
class RunOptions;
class Sound;
class clsBGMAPI;
struct Settings;

/// The options screen on the title picture: music and sound effects on or off. A choice changes
/// the setting at once; what is heard follows when the screen is left with "戻 る".
class OptionsScreen : public QObject {
public:
    /// Lays out the seven labels (hidden) and dims the value not chosen in each row. `back` is
    /// called by "戻 る" to bring the title menu back.
    OptionsScreen(QWidget& picTitle, Settings& settings, Sound& sound, clsBGMAPI& music, std::function<void()> back);
    ~OptionsScreen() override;

    void setVisible(bool visible);
    void lblOption_Click(int index);
    /// Leaves the screen as "戻 る" does (Escape, the pad's B).
    void goBack();

    MouseLabel& lblOption(int index) const { return *lblOption_.at(static_cast<std::size_t>(index)); }
    /// The run timer's and the ghost's rows and the best times, shown with the screen.
    RunOptions& runOptions() const { return *runOptions_; }
    /// The language's row.
    LanguageOption& languageOption() const { return *languageOption_; }

private:
    void choose(int chosen, int other);

    Settings& settings_;
    Sound& sound_;
    clsBGMAPI& music_;
    std::function<void()> back_;
    std::array<MouseLabel*, 7> lblOption_{};
    std::unique_ptr<RunOptions> runOptions_;
    std::unique_ptr<LanguageOption> languageOption_;
};

} // namespace poronpa
