#pragma once

#include "app/base/Language.h"

#include <functional>

class QWidget;

namespace poronpa {

/// Puts the game and the editor into `language`: every text marked for the catalogue (the toolkit's
/// tr(), the core's PORONPA_TR and translate()) and the toolkit's own buttons. Japanese keeps the
/// source texts; English takes the catalogue the programs carry. Called again, it replaces the
/// language before, and windows that listen for the change retranslate themselves.
void installLanguage(Language language);

/// The language installed last (Japanese before any).
Language installedLanguage();

/// Calls `apply` now and again whenever the language changes while `widget` lives: how a widget
/// built once keeps its texts in the player's language.
void keepTranslated(QWidget& widget, std::function<void()> apply);

} // namespace poronpa
