#pragma once

#include <QWidget>

#include <cstdint>

namespace poronpa {

/// One square of the area overview: an outline for an area never visited, filled with the
/// area's colour otherwise.
class OverviewSquare : public QWidget {
public:
    explicit OverviewSquare(QWidget* parent);

    /// A MiniMapColor value: -1 hollow, else the fill with red in the low byte, green in the
    /// middle one and blue in the high one (255 is red, 0xFFFFFF white).
    void setMiniMapColour(std::int32_t colour);
    std::int32_t miniMapColour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::int32_t colour_ = -1;
};

} // namespace poronpa
