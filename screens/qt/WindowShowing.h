#pragma once

class QWidget;

namespace poronpa {

/// The window on screen that shows `widget`: its own window, or the one whose magnified view
/// shows it. Dialogs opened over a control belong to that window, not inside the magnified picture.
QWidget* windowShowing(const QWidget& widget);

} // namespace poronpa
