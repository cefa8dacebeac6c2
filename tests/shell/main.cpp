#include <QApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The widget tests need no display. Their virtual screens: the first, where windows open, as
    // small as an old laptop's; a second one large enough for a window magnified three times; a
    // third narrower than the controls' two columns.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QString config;
    if (platform.isEmpty() || platform == "offscreen") {
        // One file for each process: the tests run as many processes at once, and one writing the
        // file while another reads it made that one's platform refuse to start.
        config = QDir::temp().filePath(
            QStringLiteral("poronpa-shell-tests-screens-%1.json").arg(QCoreApplication::applicationPid()));
        QFile file(config);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(R"({"screens": [
                {"name": "Small", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96},
                {"name": "Large", "x": 800, "y": 0, "width": 2000, "height": 1200, "logicalDpi": 96},
                {"name": "Narrow", "x": 2800, "y": 0, "width": 640, "height": 480, "logicalDpi": 96}]})");
            file.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
        } else {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    // The platform has read its screens by now.
    if (!config.isEmpty())
        QFile::remove(config);
    return RUN_ALL_TESTS();
}
