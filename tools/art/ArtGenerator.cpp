// Paints every built-in picture into PNG files and writes the resource list that builds them
// into the program.
#include "PixelArt.h"
#include "app/base/StandardOptions.h"
#include "ScreenArt.h"
#include "SpriteArt.h"
#include "TileArt.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <exception>

namespace {

using namespace poronpa::art;

class Output {
public:
    explicit Output(QString folder) : folder_(std::move(folder)) { QDir().mkpath(folder_); }

    void save(const QImage& image, const QString& name)
    {
        const QString file = name + QStringLiteral(".png");
        if (!image.save(folder_ + QLatin1Char('/') + file))
            throw std::runtime_error("cannot write " + file.toStdString());
        files_ << file;
    }

    void writeResourceList() const
    {
        QFile qrc(folder_ + QStringLiteral("/pictures.qrc"));
        if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("cannot write pictures.qrc");
        QTextStream s(&qrc);
        s << "<RCC>\n  <qresource prefix=\"/pictures\">\n";
        for (const QString& file : files_)
            s << "    <file>" << file << "</file>\n";
        s << "  </qresource>\n</RCC>\n";
    }

private:
    QString folder_;
    QStringList files_;
};

constexpr std::string_view Usage =
    "Usage: poronpa-artgen <art source folder> <output folder>\n"
    "Paints every built-in picture (tiles, sprites, the frame, the title, the dialog, the item\n"
    "icons, the window icons) into PNG files in the output folder, with the resource list that\n"
    "builds them into the program.\n";

} // namespace

int main(int argc, char** argv)
{
    if (poronpa::answerHelpOrVersion(argc, argv, "poronpa-artgen", Usage))
        return 0;
    // Works without a display: nothing is shown, only painted.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3 || poronpa::anyOption(argc, argv))
        return poronpa::refuseArguments(Usage);
    try {
        const Library library(QString::fromLocal8Bit(argv[1]));
        Output out(QString::fromLocal8Bit(argv[2]));
        out.save(paintTileSheet(), QStringLiteral("tiles"));
        out.save(paintSpriteSheet(library), QStringLiteral("sprites"));
        out.save(paintGameFrame(library), QStringLiteral("frame"));
        out.save(paintTitle(library), QStringLiteral("title"));
        out.save(paintDialogBackground(library), QStringLiteral("dialog"));
        for (int k = 0; k < 10; ++k)
            out.save(paintItemIcon(library, k), QStringLiteral("item%1").arg(k));
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            out.save(paintWindowIcon(library, size), QStringLiteral("icon%1").arg(size));
        out.writeResourceList();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "poronpa-artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
