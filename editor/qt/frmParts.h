#pragma once

#include <QWidget>

class QAction;

namespace poronpa {

class MapEditor;
class PictureBox;

/// The tile palette "Parts": the whole tile sheet, the chosen tile or rectangle of tiles framed in
/// red, each tile's number and name in its tooltip, and a toolbar with the canvas's tools (paint,
/// select) and the brush's flip. A drag over the sheet chooses several tiles as one brush. The
/// sheet scrolls where the window cannot show it whole. It lives as long as the editor window,
/// which closes it.
class frmParts : public QWidget {
    Q_OBJECT
public:
    explicit frmParts(MapEditor& editor);

    /// Moves the frame to the chosen tiles and shows the canvas's tool.
    void refresh();

    PictureBox* picParts() const { return picParts_; }
    QWidget* shpSelect() const { return shpSelect_; }

signals:
    /// The user chose other tiles, another tool, or flipped the brush.
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
    QAction* paintTool_;
    QAction* selectTool_;
};

} // namespace poronpa
