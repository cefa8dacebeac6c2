#include "editor/qt/CheckWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace poronpa {

namespace {

constexpr int BarSteps = 1000;

QString text(const char* source) { return QCoreApplication::translate("MapDesign", source); }

} // namespace

CheckWindow::CheckWindow(const MapGrid& map, const QString& worldName, route::CheckOptions options,
                         const std::filesystem::path& routeFile, WorldCheckRun::Checker checker, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName("checkWindow");
    setWindowTitle(QCoreApplication::translate("MapDesign", "ワールドの検査 - %1").arg(worldName));
    auto* layout = new QVBoxLayout(this);
    stage_ = new QLabel(QCoreApplication::translate("MapDesign", "検査を始めています…"), this);
    stage_->setObjectName("lblStage");
    layout->addWidget(stage_);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("barCheck");
    bar_->setRange(0, BarSteps);
    layout->addWidget(bar_);
    states_ = new QLabel(this);
    states_->setObjectName("lblStates");
    layout->addWidget(states_);
    report_ = new QPlainTextEdit(this);
    report_->setObjectName("txtReport");
    report_->setReadOnly(true);
    report_->setMinimumSize(460, 260);
    report_->hide();
    layout->addWidget(report_);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const char* caption) {
        auto* made = new QPushButton(QCoreApplication::translate("MapDesign", caption), this);
        made->setObjectName(name);
        buttons->addWidget(made);
        return made;
    };
    buttons->addStretch();
    watch_ = button("cmdWatch", QT_TRANSLATE_NOOP("MapDesign", "経路を再生"));
    dismiss_ = button("cmdDismiss", QT_TRANSLATE_NOOP("MapDesign", "経路を消す"));
    cancel_ = button("cmdCancel", QT_TRANSLATE_NOOP("MapDesign", "キャンセル"));
    close_ = button("cmdClose", QT_TRANSLATE_NOOP("MapDesign", "閉じる"));
    layout->addLayout(buttons);
    for (QPushButton* later : {watch_, dismiss_, close_})
        later->hide();
    connect(cancel_, &QPushButton::clicked, this, [this] {
        run_->cancel();
        cancel_->setEnabled(false);
        stage_->setText(QCoreApplication::translate("MapDesign", "キャンセルしています…"));
    });
    connect(watch_, &QPushButton::clicked, this, &CheckWindow::watchRequested);
    connect(dismiss_, &QPushButton::clicked, this, [this] {
        setRouteDrawn(false);
        emit drawingDismissed();
    });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);

    run_ = std::make_unique<WorldCheckRun>(map, std::move(options), routeFile, std::move(checker));
    connect(run_.get(), &WorldCheckRun::progressed, this, &CheckWindow::showProgress);
    connect(run_.get(), &WorldCheckRun::finished, this, &CheckWindow::showReport);
}

CheckWindow::~CheckWindow() = default;

void CheckWindow::showProgress(const route::CheckProgress& progress)
{
    if (cancel_->isEnabled())
        stage_->setText(QString::fromStdString(progress.stage));
    bar_->setValue(static_cast<int>(progress.fraction * BarSteps));
    states_->setText(QCoreApplication::translate("MapDesign", "調べた状態: %1").arg(progress.statesSearched));
}

void CheckWindow::showReport()
{
    const route::CheckReport& report = run_->report();
    using Outcome = route::CheckReport::Outcome;
    const char* verdict = report.outcome == Outcome::Finishable  ? QT_TRANSLATE_NOOP("MapDesign", "クリアできます")
                          : report.outcome == Outcome::Cancelled ? QT_TRANSLATE_NOOP("MapDesign", "キャンセルしました")
                          : report.outcome == Outcome::Impossible ? QT_TRANSLATE_NOOP("MapDesign", "クリアできません")
                                                                  : QT_TRANSLATE_NOOP("MapDesign", "時間内に経路が見つかりませんでした");
    stage_->setText(text(verdict));
    bar_->hide();
    states_->hide();
    QString shown = QString::fromStdString(route::reportText(report));
    if (!run_->keepFailure().empty())
        shown += QCoreApplication::translate("MapDesign", "経路は保存できませんでした: %1\n").arg(QString::fromStdString(run_->keepFailure()));
    report_->setPlainText(shown);
    report_->show();
    cancel_->hide();
    const bool found = report.outcome == Outcome::Finishable;
    watch_->setVisible(found);
    dismiss_->setVisible(found);
    close_->show();
    emit checked();
    adjustSize();
}

void CheckWindow::setRouteDrawn(bool drawn) { dismiss_->setEnabled(drawn); }

void CheckWindow::closeEvent(QCloseEvent* event)
{
    // A check nobody waits for any more is not left running.
    run_->cancel();
    QWidget::closeEvent(event);
}

} // namespace poronpa
