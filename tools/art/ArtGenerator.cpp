#include "world/SheetCells.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

namespace {

using namespace poronpa;

QImage blank(int w, int h, QColor fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void label(QImage& image, QRect box, const QString& text, QColor colour)
{
    QPainter p(&image);
    QFont font("IPAPGothic");
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

QColor tileColour(int t)
{
    if (t < 96)
        return QColor::fromHsv((t * 37) % 360, 60, 230);
    return QColor::fromHsv((t * 37) % 360, 160, 150);
}

QImage tileSheet()
{
    QImage image = blank(sheet::Width, sheet::Height, Qt::black);
    QPainter p(&image);
    for (int t = 0; t < sheet::Cells; ++t) {
        QRect cell(sheet::cellX(t), sheet::cellY(t), 32, 32);
        p.fillRect(cell, tileColour(t));
        p.setPen(QColor(0, 0, 0));
        p.drawRect(cell.adjusted(0, 0, -1, -1));
    }
    p.end();
    for (int t = 0; t < sheet::Cells; ++t)
        label(image, QRect(sheet::cellX(t), sheet::cellY(t), 32, 32), QString::number(t), Qt::black);
    return image;
}

QImage spriteSheet()
{
    QImage image = blank(sheet::Width, sheet::Height, Qt::white);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    // Masked rows: a figure in the image row, its silhouette in the row below.
    for (int row : {0, 2, 4, 6, 8}) {
        for (int col = 0; col < 8; ++col) {
            if (row == 6 && col == 4)
                continue;
            QRect figure(col * 32 + 8, row * 32 + 4, 16, 26);
            p.setBrush(QColor::fromHsv((row * 40 + col * 20) % 360, 180, 200));
            p.drawEllipse(figure);
            p.setBrush(Qt::black);
            p.drawEllipse(figure.translated(0, 32));
        }
    }
    for (int n = 88; n <= 139; ++n) {
        p.setBrush(QColor::fromHsv((n * 23) % 360, 120, 120 + (n % 2) * 80));
        p.drawRect(sheet::cellX(n), sheet::cellY(n), 32, 32);
    }
    for (int n : {178, 183, 186, 191}) {
        p.setBrush(QColor::fromHsv((n * 23) % 360, 120, 180));
        p.drawRect(sheet::cellX(n), sheet::cellY(n), 32, 32);
    }
    p.end();
    for (int n = 88; n <= 139; ++n)
        label(image, QRect(sheet::cellX(n), sheet::cellY(n), 32, 32), QString::number(n), Qt::white);
    return image;
}

QImage screen(QColor fill, const QString& text)
{
    QImage image = blank(514, 346, fill);
    QPainter p(&image);
    p.fillRect(8, 4, 320, 320, QColor(128, 128, 128));
    p.end();
    label(image, QRect(340, 4, 170, 40), text, Qt::black);
    return image;
}

QImage itemIcon(int k)
{
    const QColor background = k < 4 ? QColor(64, 160, 160) : k < 8 ? QColor(240, 160, 200) : QColor(120, 200, 120);
    QImage image = blank(32, 32, background);
    label(image, QRect(0, 0, 32, 32), QString::number(k), Qt::black);
    return image;
}

bool save(const QImage& image, const QString& dir, const QString& name, QStringList& written)
{
    written << name + ".png";
    return image.save(dir + "/" + name + ".png");
}

} // namespace

int main(int argc, char** argv)
{
    // Works without a display: nothing is shown, only painted.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: poronpa-artgen <art source folder> <output folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    QStringList written;
    QImage tiles = tileSheet();
    const QImage sprites = spriteSheet();
    {
        const int stills[][2] = {{4, 106}, {5, 108}, {7, 126}, {12, 104}, {15, 124}, {17, 112}, {18, 114},
                                 {25, 120}, {26, 122}, {32, 100}, {49, 110}, {54, 91}, {56, 102}, {90, 128},
                                 {91, 130}, {92, 132}, {93, 134}, {143, 94}, {154, 96}, {155, 99}, {158, 116},
                                 {159, 119}, {172, 138}};
        QPainter p(&tiles);
        for (const auto& still : stills)
            p.drawImage(sheet::cellX(still[0]), sheet::cellY(still[0]),
                        sprites.copy(sheet::cellX(still[1]), sheet::cellY(still[1]), 32, 32));
    }
    bool ok = save(tiles, out, "tiles", written);
    ok = save(sprites, out, "sprites", written) && ok;
    ok = save(screen(QColor(250, 230, 240), "frame"), out, "frame", written) && ok;
    ok = save(screen(QColor(20, 20, 60), "title"), out, "title", written) && ok;
    ok = save(blank(256, 160, QColor(230, 240, 255)), out, "dialog", written) && ok;
    for (int k = 0; k < 10; ++k)
        ok = save(itemIcon(k), out, QString("item%1").arg(k), written) && ok;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok = save(blank(size, size, QColor(255, 200, 80)), out, QString("icon%1").arg(size), written) && ok;

    QFile qrc(out + "/pictures.qrc");
    if (!ok || !qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "poronpa-artgen: cannot write into %s\n", argv[2]);
        return 1;
    }
    QTextStream s(&qrc);
    s << "<RCC>\n  <qresource prefix=\"/pictures\">\n";
    for (const QString& file : written)
        s << "    <file>" << file << "</file>\n";
    s << "  </qresource>\n</RCC>\n";
    return 0;
}
