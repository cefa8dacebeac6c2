#pragma once

#include <QObject>
#include <QTimer>

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

namespace poronpa {

/// The buttons of a gamepad the game uses; the directions come from the d-pad or the left stick.
enum class PadButton { Left, Right, Up, Down, A, B, Y, Back, Start };
inline constexpr std::size_t PadButtonCount = 9;
using PadButtons = std::bitset<PadButtonCount>;

/// The button as it is printed on a pad ("A", "Back") or, for a direction, named.
const char* padButtonName(PadButton button);

/// A stick's position along one axis as two directions, with a dead zone around the centre that
/// is wide enough for a worn stick at rest and a gap between pressing and letting go, so that a
/// stick held near the edge of the zone does not flicker between the two.
class StickAxis {
public:
    static constexpr int PressAt = 16000;  ///< of 32767: a little less than half way
    static constexpr int ReleaseAt = 10000;

    /// Feeds the axis value; returns {towards negative, towards positive} held.
    std::pair<bool, bool> update(int value);

private:
    bool negative_ = false;
    bool positive_ = false;
};

/// The gamepads plugged in, through the sound library's controller support and its database of
/// controllers. Buttons are read from a timer while started; a pad plugged in is taken up, and a
/// pad pulled out lets go of everything it held.
class Gamepads : public QObject {
    Q_OBJECT
public:
    explicit Gamepads(QObject* parent = nullptr);
    ~Gamepads() override;

    /// Brings the controller support up the first time (it takes a moment, so not before the
    /// window is on screen) and starts watching. False when the system has none.
    bool start();
    /// Stops watching; buttons held are let go.
    void stop();

    int connected() const { return static_cast<int>(pads_.size()); }
    PadButtons held() const { return held_; }

    /// Reads the pads once (the timer does this while started).
    void poll();

signals:
    void buttonChanged(poronpa::PadButton button, bool down);

private:
    struct Pad;
    void setHeld(PadButtons now);

    std::vector<std::unique_ptr<Pad>> pads_;
    PadButtons held_;
    QTimer timer_;
    bool subsystem_ = false;
};

} // namespace poronpa
