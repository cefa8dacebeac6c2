#pragma once

#include <QRect>
#include <QSize>

namespace poronpa {

/// The magnification a window starts with when none is kept: the largest of 1 up to the largest
/// the window offers whose client area takes at most two thirds of the screen's available height
/// (1 even when none does).
int firstStartScale(int availableHeight, int clientHeight);

/// The largest magnification, 1..maxScale, at which `client` fits inside `area`; 1 when even that
/// does not fit.
int fittingScale(QSize area, QSize client, int maxScale);

/// Where a picture of `size` lies centred in `area`, on whole pixels.
QRect centredIn(QSize area, QSize size);

} // namespace poronpa
