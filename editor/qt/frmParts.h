#pragma once

#include <QWidget>

namespace poronpa {

class MapEditor;
class PictureBox;

/// The tile palette "Parts": the whole tile sheet, the selected tile framed in red, each tile's
/// number and name in its tooltip. The sheet scrolls where the window cannot show it whole. It
/// lives as long as the editor window, which closes it.
class frmParts : public QWidget {
    Q_OBJECT
public:
    explicit frmParts(MapEditor& editor);

    /// Moves the frame to the selected tile.
    void refresh();

    PictureBox* picParts() const { return picParts_; }
    QWidget* shpSelect() const { return shpSelect_; }

signals:
    /// The user chose another tile.
    void tileChosen();

protected:
    /// The user cannot close the palette on its own: without it no tile could be chosen.
    void closeEvent(QCloseEvent* event) override;
    /// Tooltips of the sheet's tiles.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MapEditor& editor_;
    PictureBox* picParts_;
    QWidget* shpSelect_;
};

} // namespace poronpa
