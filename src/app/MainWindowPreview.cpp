// The main window's preview pane: the player in Panel6, its buttons and slider, and snapshots.

#include "app/Desktop.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/TrackClickFilter.h"
#include "media/Player.h"
#include "preview/PreviewBridge.h"
#include "preview/PreviewScreen.h"
#include "preview/QtAudioOutput.h"
#include "preview/Snapshots.h"

#include <QAction>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QSlider>
#include <QTableView>
#include <QToolButton>

namespace talwyn::app {
namespace {

const char* const kStateNames[] = {"Play", "Pause", "Resume", "Step", "Stop", "End"};
const char* const kSnapshotTypes[] = {"BMP", "JPG", "GIF", "PNG"};

}  // namespace

void MainWindow::wirePreview() {
    player_ = std::make_unique<media::Player>(std::make_unique<preview::QtAudioOutput>());
    previewBridge_ = new preview::PreviewBridge(*player_, this);
    snapshots_ = std::make_unique<preview::Snapshots>(ini_);
    connect(previewBridge_, &preview::PreviewBridge::fileOpened, this, &MainWindow::onFileOpen);
    connect(previewBridge_, &preview::PreviewBridge::position, this, &MainWindow::onPlayerPosition);
    connect(previewBridge_, &preview::PreviewBridge::state, this, &MainWindow::onPlayerState);
    connect(previewBridge_, &preview::PreviewBridge::picture, this, &MainWindow::onPlayerPicture);
    connect(previewBridge_, &preview::PreviewBridge::logLine, this, &MainWindow::appendLog);

    connect(ui_.playButton, &QToolButton::clicked, this, &MainWindow::PreviewPlay);
    connect(ui_.pausePreviewButton, &QToolButton::clicked, this, &MainWindow::PreviewPause);
    connect(ui_.stopPreviewButton, &QToolButton::clicked, this, &MainWindow::PreviewStop);
    connect(ui_.muteButton, &QToolButton::clicked, this, [this] { PreviewMute(true); });
    connect(ui_.unmuteButton, &QToolButton::clicked, this, [this] { PreviewMute(false); });
    connect(ui_.slider, &QSlider::sliderPressed, this, &MainWindow::SliderPressed);
    connect(ui_.slider, &QSlider::sliderReleased, this, &MainWindow::SliderReleased);
    // A click on the track is a press and release of the handle at that place.
    new TrackClickFilter(ui_.slider, [this](int value) {
        SliderPressed();
        ui_.slider->setValue(value);
        SliderReleased();
    });
    // The arrow and page keys move the handle; the picture follows, playing on if it played.
    connect(ui_.slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove || ui_.slider->isSliderDown()) {
            return;  // a drag: its release seeks
        }
        // Where the key put the handle, taken now: a position the player reports meanwhile
        // moves the handle too.
        const int maximum = std::max(1, ui_.slider->maximum());
        player_->Seek(FDuration * ui_.slider->sliderPosition() / maximum);
    });
    connect(ui_.snapshotButton, &QToolButton::clicked, this, [this] { TakeSnapshot(); });
    connect(ui_.snapshotSettingsButton, &QToolButton::pressed, this,
            [this] { ShowSnapshotMenu(QCursor::pos()); });
    connect(ui_.openSnapshotFolderItem, &QAction::triggered, this, &MainWindow::OpenSnapshotFolder);
    connect(ui_.chooseSnapshotFolderItem, &QAction::triggered, this,
            &MainWindow::ChooseSnapshotFolder);
    for (int type = 0; type < 4; ++type) {
        connect(ui_.snapshotTypeItems[type], &QAction::triggered, this,
                [this, type] { ChooseSnapshotType(type); });
    }
}

void MainWindow::OpenPreview() {
    const QString file = fields_.T_Movie_PLayer_FileName;
    if (file.isEmpty()) {
        return;
    }
    if (!player_->Open(file.toStdString(), ui_.screen->width(), ui_.screen->height(), true)) {
        appendLog(QString::fromStdString(player_->LastErrMsg()));
    }
}

void MainWindow::stopPreview() {
    player_->Stop(true);
}

void MainWindow::onFileOpen(qint64 duration, int frameWidth, int frameHeight) {
    appendLog(QString::fromStdString(player_->FileInfoText()));
    appendLog(QString::asprintf("duration: %f, frame size: %dx%d", duration / 1e6, frameWidth,
                                frameHeight));
    FDuration = duration;
    ui_.slider->setSingleStep(5);
    ui_.slider->setMaximum(ui_.slider->width());
    ui_.slider->setValue(0);
}

void MainWindow::onPlayerPosition(qint64 pts) {
    if (bsSkinSlider1_down_UP == QLatin1String("UP") && pts >= 0 && FDuration > 0) {
        ui_.slider->setValue(int(int64_t(ui_.slider->maximum()) * pts / FDuration));
    }
}

void MainWindow::onPlayerState(int state) {
    if (state < 0 || state > 5) {
        return;
    }
    appendLog(QString::fromLatin1(kStateNames[state]));
    switch (media::TPlayState(state)) {
        case media::TPlayState::psStop:
            ui_.screen->setPicture({});
            ui_.screen->repaint();
            break;
        case media::TPlayState::psEnd:
            // At the end the preview goes back to the start and waits there.
            player_->Seek(0);
            player_->Pause();
            break;
        default:
            break;
    }
}

void MainWindow::onPlayerPicture() {
    const media::PlayerPicture picture = player_->CurrentFrame();
    if (picture.width <= 0) {
        return;
    }
    ui_.screen->setPicture(QImage(picture.rgb32.data(), picture.width, picture.height,
                                  picture.width * 4, QImage::Format_RGB32)
                               .copy());
}

void MainWindow::PreviewPlay() {
    player_->Resume();
    ui_.lvFiles->setFocus();
}

void MainWindow::PreviewPause() {
    player_->Pause();
    ui_.lvFiles->setFocus();
}

void MainWindow::PreviewStop() {
    if (selectedRow() < 0) {
        return;
    }
    player_->Stop(true);
    if (!player_->Open(fields_.T_Movie_PLayer_FileName.toStdString(), ui_.screen->width(),
                       ui_.screen->height(), true)) {
        appendLog(QString::fromStdString(player_->LastErrMsg()));
        player_->Stop(true);
    }
    ui_.lvFiles->setFocus();
}

void MainWindow::PreviewMute(bool mute) {
    player_->setMute(mute);
    ui_.muteButton->setVisible(!mute);
    ui_.unmuteButton->setVisible(mute);
}

void MainWindow::SliderPressed() {
    bsSkinSlider1_down_UP = QStringLiteral("Down");
    player_->Pause();
}

void MainWindow::SliderReleased() {
    player_->Pause();
    const int maximum = std::max(1, ui_.slider->maximum());
    player_->Seek(FDuration * ui_.slider->value() / maximum);
    player_->Resume();
    bsSkinSlider1_down_UP = QStringLiteral("UP");
}

void MainWindow::tickSnapshotType() {
    const QString type = snapshots_->type();
    for (int i = 0; i < 4; ++i) {
        ui_.snapshotTypeItems[i]->setChecked(type == QLatin1String(kSnapshotTypes[i]));
    }
}

QString MainWindow::TakeSnapshot() {
    const media::PlayerPicture shown = player_->CurrentFrame();
    tickSnapshotType();
    const QImage picture = shown.width > 0 ? QImage(shown.rgb32.data(), shown.width, shown.height,
                                                    shown.width * 4, QImage::Format_RGB32)
                                                 .copy()
                                           : QImage();
    QString error;
    const QString saved = snapshots_->save(picture, fields_.T_Movie_PLayer_FileName, &error);
    if (!error.isEmpty()) {
        appendLog(error);
    }
    return saved;
}

void MainWindow::ShowSnapshotMenu(const QPoint& where) {
    tickSnapshotType();
    ui_.snapshotMenu->popup(where);
}

void MainWindow::ChooseSnapshotType(int type) {
    snapshots_->setType(QString::fromLatin1(kSnapshotTypes[type]));
    ui_.snapshotTypeItems[type]->setChecked(true);
}

void MainWindow::OpenSnapshotFolder() {
    desktop_.openUrl(QUrl::fromLocalFile(snapshots_->folder()));
}

void MainWindow::ChooseSnapshotFolder() {
    const auto chosen = dialogs_.chooseFolder(this, QStringLiteral("选择输出目录"), {});
    if (chosen && QFileInfo(*chosen).isDir()) {
        snapshots_->setFolder(*chosen);
    }
}

}  // namespace talwyn::app
