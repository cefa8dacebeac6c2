#include "app/qt/ScreenCheck.h"

#include "app/qt/PixelView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace poronpa {

namespace {

/// Written by the signal handler, read by the event loop.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

QImage ScreenCheck::intendedPicture(QWidget& window)
{
    QImage picture(window.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    window.render(&picture);
    QPainter painter(&picture);
    for (PixelView* view : window.findChildren<PixelView*>()) {
        if (!view->isVisible())
            continue;
        const QImage content = view->content().grab().toImage();
        painter.drawImage(view->mapTo(&window, QPoint(0, 0)),
                          content.scaled(content.size() * view->scale(), Qt::IgnoreAspectRatio,
                                         Qt::FastTransformation));
    }
    return picture;
}

void ScreenCheck::installFromEnvironment()
{
    const QString folder = qEnvironmentVariable("PORONPA_SCREEN_CHECK");
    if (folder.isEmpty() || signalPipe[0] >= 0)
        return;
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("poronpa: screen check");
        return;
    }
    new ScreenCheck(folder);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

ScreenCheck::ScreenCheck(const QString& folder) : QObject(qApp), folder_(folder)
{
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        answer();
    });
}

void ScreenCheck::answer()
{
    // What is pending reaches the screen: the scenes' word of what changed, and each window's
    // paint of what was marked changed in it, which would otherwise wait for the window's next
    // update request. Nothing that was not marked is painted, so a change that never reached a
    // window stays missing from the screen, as it would for the player.
    for (int round = 0; round < 8; ++round) {
        QCoreApplication::sendPostedEvents();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            QEvent request(QEvent::UpdateRequest);
            QCoreApplication::sendEvent(window, &request);
        }
    }
    const QDir folder(folder_);
    QFile list(folder.filePath(QStringLiteral("windows.txt")));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->testAttribute(Qt::WA_DontShowOnScreen) || !window->windowHandle())
            continue;
        const QString id = QString::number(window->winId());
        intendedPicture(*window).save(folder.filePath(id + QStringLiteral(".ppm")), "PPM");
        list.write(QStringLiteral("%1 %2 %3\n")
                       .arg(id, QString::fromLatin1(window->metaObject()->className()), window->windowTitle())
                       .toUtf8());
    }
    list.close();
    QFile(folder.filePath(QStringLiteral("ready"))).open(QIODevice::WriteOnly);
    // Nothing runs until the test has its picture.
    for (int waited = 0; waited < 30000 && folder.exists(QStringLiteral("ready")); waited += 5)
        QThread::msleep(5);
}

} // namespace poronpa
