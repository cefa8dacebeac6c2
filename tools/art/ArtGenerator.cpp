#include "SpriteArt.h"
#include "TileArt.h"
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
    const poronpa::art::Library library(QString::fromLocal8Bit(argv[1]));
    QImage tiles = poronpa::art::paintTileSheet();
    QImage sprites = poronpa::art::paintSpriteSheet(library);
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
