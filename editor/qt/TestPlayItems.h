#pragma once

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;

namespace poronpa {

/// The small list of items a test play starts with. The editor keeps one for its whole session,
/// so the ticks stay as the designer left them.
class TestPlayItems : public QDialog {
    Q_OBJECT
public:
    explicit TestPlayItems(QWidget* parent);

    /// The item numbers ticked, in order.
    std::vector<int> ticked() const;
    QCheckBox* box(int item) const { return boxes_.at(static_cast<std::size_t>(item)); }

private:
    std::array<QCheckBox*, 10> boxes_{};
};

} // namespace poronpa
