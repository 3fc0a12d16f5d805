#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "services/VideoWindow.h"
#include "shell/DockBand.h"
#include "shell/Form.h"

class MediaPlayer;

// The video window, in the frame's client area. picBack frames the video: the player mtWmp
// fills it while a recording is playing or paused; otherwise it shows its picture with the
// muted background clip mtbk looping in the middle. The bottom band "MediaControl" hosts the
// control bar.
class frmChild : public QWidget, public Form, public VideoWindow {
  public:
    static constexpr int kPlayTimeMilliseconds = 800;

    frmChild(Windows& windows, QWidget* parent);
    ~frmChild() override;

    bool Form_Load() override;

    // Start-up: the control bar, made inside the band "MediaControl", is docked there.
    void dockControlBar(QWidget& controlBar);

    DockBand& mediaControlBand() { return m_mediaControlBand; }
    QLabel& picBack() { return m_picBack; }
    MediaPlayer& mtWmp() override { return *m_mtWmp; }
    // nullptr only when the platform has no player to give.
    MediaPlayer* mtbk() { return m_mtbk.get(); }
    QTimer& tPlayTime() override { return m_tPlayTime; }

    // The current play rate ("1" after load) and the last whole playing second ("-1").
    const QString& picBackTag() const { return m_picBackTag; }
    void setPicBackTag(const QString& tag) { m_picBackTag = tag; }
    const QString& mtWmpTag() const { return m_mtWmpTag; }
    void setMtWmpTag(const QString& tag) { m_mtWmpTag = tag; }

    QString playRate() const override { return m_picBackTag; }
    void setPlayRate(const QString& rate) override { m_picBackTag = rate; }
    void applyPlayRate() override;
    QString lastSecond() const override { return m_mtWmpTag; }
    QImage CaptureVideoArea() override;
    // The last snapshot taken.
    const QImage& picSave() const { return m_picSave; }
    bool startRecording(int serial, const QString& path,
                        const std::shared_ptr<clsDot>& track) override;

    // One step of keeping the read-outs in step with the player, every 800 ms.
    void tPlayTime_Timer();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void layoutBands();
    void picBack_Resize();
    static QRect clipArea(const QRect& picture);
    void mtWmp_PlayStateChange(int newState);
    // At the end of a recording: the next ticked row after the playing one, wrapping round;
    // false when no row is ticked.
    bool continueWithNextRow();
    void mtWmp_Error(const QString& description);
    void mtbk_PlayStateChange(int newState);
    // The recording while one is playing or paused, else the picture and the clip.
    void showRecordingOrBackground();

    QLabel m_picBack;
    DockBand m_mediaControlBand;
    std::unique_ptr<MediaPlayer> m_mtWmp;
    std::unique_ptr<MediaPlayer> m_mtbk;
    QTimer m_tPlayTime;
    QString m_picBackTag;
    QString m_mtWmpTag;
    QImage m_picSave;
    int m_mediaControlExtent = 0;
    bool m_backgroundClipOpen = false;
    bool m_clipRunning = false;
    // Counts the starts, so a start that waited knows when another took over meanwhile.
    int m_starts = 0;
};
