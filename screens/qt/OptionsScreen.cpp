#include "audio/SoundNumbers.h"
#include "screens/qt/OptionsScreen.h"

#include "screens/qt/Fonts.h"
#include "screens/qt/LanguageOption.h"
#include "screens/qt/MouseLabel.h"
#include "screens/qt/RunOptions.h"
#include "audio/Sound.h"
#include "audio/clsBGMAPI.h"
#include "screens/MessageTables.h"
#include "settings/Settings.h"

namespace poronpa {

namespace {

const QColor LabelColour(255, 255, 128);
const QColor DimColour(192, 192, 0);
const QColor ChosenColour(255, 255, 160);
constexpr int MusicOn = 1, MusicOff = 2, EffectsOn = 4, EffectsOff = 5, Back = 6;

} // namespace

OptionsScreen::OptionsScreen(QWidget& picTitle, Settings& settings, Sound& sound, clsBGMAPI& music,
                             std::function<void()> back)
    : settings_(settings), sound_(sound), music_(music), back_(std::move(back))
{
    const QFont font = fonts::mincho(21.75, true);
    for (int k = 0; k < 7; ++k) {
        auto* label = new MouseLabel({}, font, LabelColour, &picTitle);
        label->showTranslated("Options", texts::OptionCaptions[static_cast<std::size_t>(k)].c_str());
        label->move(272 + 80 * (k % 3), 208 + 40 * (k / 3));
        label->hide();
        connect(label, &MouseLabel::clicked, this, [this, k] { lblOption_Click(k); });
        lblOption_[static_cast<std::size_t>(k)] = label;
    }
    // A value other than 0 and 1 in the settings file still means "on"; it must not dim a heading
    // or "戻 る", nor a label that is not there.
    lblOption(settings_.BGM != 0 ? MusicOff : MusicOn).setColour(DimColour);
    lblOption(settings_.SE != 0 ? EffectsOff : EffectsOn).setColour(DimColour);
    runOptions_ = std::make_unique<RunOptions>(picTitle, settings_);
    languageOption_ = std::make_unique<LanguageOption>(picTitle, settings_);
}

OptionsScreen::~OptionsScreen() = default;

void OptionsScreen::setVisible(bool visible)
{
    for (MouseLabel* label : lblOption_)
        label->setVisible(visible);
    runOptions_->setVisible(visible);
    languageOption_->setVisible(visible);
}

void OptionsScreen::choose(int chosen, int other)
{
    lblOption(chosen).setColour(ChosenColour);
    lblOption(other).setColour(DimColour);
}

void OptionsScreen::lblOption_Click(int index)
{
    switch (index) {
    case MusicOn:
    case MusicOff:
        choose(index, 3 - index);
        settings_.BGM = static_cast<std::int16_t>(2 - index);
        break;
    case EffectsOn:
    case EffectsOff:
        choose(index, 9 - index);
        settings_.SE = static_cast<std::int16_t>(5 - index);
        break;
    case Back:
        music_.BGMOnOff(settings_.BGM != 0);
        if (settings_.BGM != 0)
            music_.BGMPlay(tunes::Title, true);
        else
            music_.BGMStop();
        // Switched first, so that the click is heard exactly when effects are now on.
        sound_.SoundOn = settings_.SE != 0;
        sound_.PlayAsync(sounds::Click);
        if (back_)
            back_();
        break;
    default:
        break;
    }
}

void OptionsScreen::goBack()
{
    lblOption_Click(Back);
}

} // namespace poronpa
