#pragma once

#include "play/PlayHost.h"

#include <chrono>

namespace poronpa {

class GameWindow;

/// The play engine's surroundings in the game window: a steady millisecond clock with a sleeping
/// wait, the window's event processing, sounds and music, the modal questions and dialogs, and
/// the controls that show a frame.
class GamePlayHost : public PlayHost {
public:
    explicit GamePlayHost(GameWindow& window);

    std::uint32_t tickCount() override;
    void waitUntilAfter(std::uint32_t tick) override;
    double secondsSinceMidnight() override;
    bool processEvents() override;

    void playSound(int number) override;
    void playMusic(int tune, bool notLoop) override;
    void stopMusic() override;

    bool askYesNo(const std::string& question) override;
    void showMessage(const std::string& message) override;
    void showTreasureBox(int boxContent) override;
    void playMissGag(int phraseIndex, int frameInterval) override;

    void showTitle() override;
    void startEnding() override;

    void presentView(int scrollX, int scrollY) override;
    void setRopeLine(int index, bool visible, int x, int y1, int y2) override;
    void updateMiniMap(const std::array<std::array<std::int32_t, 5>, 5>& colours) override;
    void setItemIconVisible(int item, bool visible) override;
    void setFpsText(const std::string& text) override;

private:
    GameWindow& window_;
    std::chrono::steady_clock::time_point epoch_;
};

} // namespace poronpa
