#pragma once

#include <cstdint>
#include <functional>

class QWidget;

namespace poronpa {

/// The mishap scene drawn in the view frame `frame` (320x320, black) while `canvas` (its child) is
/// hidden; paced by tickCount with 2*frameInterval per step, letting window events run once per
/// step via processEvents.
void PlayMissGag(QWidget* frame, QWidget* canvas, int phraseIndex, int frameInterval,
                 const std::function<std::uint32_t()>& tickCount,
                 const std::function<void()>& processEvents);

} // namespace poronpa
