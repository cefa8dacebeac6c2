#pragma once

#include <QDialog>

namespace poronpa {

class KeyMap;

/// The window "操作説明": every key and gamepad button and what it does, with the keys the
/// player has chosen, in type `scale` times the size of the game's own, in two columns side by
/// side or in one.
class ControlsHelp : public QDialog {
    Q_OBJECT
public:
    ControlsHelp(const KeyMap& keys, int scale, QWidget* parent, int columns = 2);

    /// The text shown, one line per key: what a test or a reader of the window sees.
    QString listing() const;

private:
    QString listing_;
};

} // namespace poronpa
