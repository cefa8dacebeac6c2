#include "screens/qt/LanguageOption.h"

#include "screens/qt/Fonts.h"
#include "screens/qt/MouseLabel.h"
#include "screens/qt/Translations.h"
#include "settings/Settings.h"

namespace poronpa {

namespace {

// The colours of the options screen's rows.
const QColor LabelColour(255, 255, 128);
const QColor DimColour(192, 192, 0);
const QColor ChosenColour(255, 255, 160);

constexpr int Heading = 0, Japanese = 1, English = 2;
// Each language named in itself, so that a player who cannot read the other finds their own.
constexpr const char* LanguageNames[] = {"日本語", "English"};

// Below the rows of the timer and the ghost, on the same columns and in the same type.
constexpr int Left = 272, ColumnStep = 80, Top = 144;

Language languageOf(int index) { return index == English ? Language::English : Language::Japanese; }

} // namespace

LanguageOption::LanguageOption(QWidget& picTitle, Settings& settings) : settings_(settings)
{
    const QFont font = fonts::gothic(12, true);
    for (int k = 0; k < 3; ++k) {
        auto* label = new MouseLabel(k == Heading ? QString() : QString::fromUtf8(LanguageNames[k - 1]), font,
                                     LabelColour, &picTitle);
        label->move(Left + ColumnStep * k, Top);
        label->hide();
        connect(label, &MouseLabel::clicked, this, [this, k] { label_Click(k); });
        labels_[static_cast<std::size_t>(k)] = label;
    }
    label(Heading).showTranslated("Options", QT_TRANSLATE_NOOP("Options", "言語"));
    label(installedLanguage() == Language::English ? Japanese : English).setColour(DimColour);
}

void LanguageOption::setVisible(bool visible)
{
    for (MouseLabel* row : labels_)
        row->setVisible(visible);
}

void LanguageOption::showChosen(int index)
{
    label(index).setColour(ChosenColour);
    label(index == English ? Japanese : English).setColour(DimColour);
}

void LanguageOption::label_Click(int index)
{
    if (index == Heading)
        return;
    showChosen(index);
    settings_.Language = std::string(languageCode(languageOf(index)));
    if (installedLanguage() != languageOf(index))
        installLanguage(languageOf(index));
}

} // namespace poronpa
