#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "services/ControlBar.h"
#include "shell/Form.h"

class Chart;
class MediaPlayer;
class SkinElement;
class SkinHost;
class VideoWindow;
class clsDot;

// The control bar, in the video window's band "MediaControl": the skinned transport buttons
// and sliders, the speed read-out, and the chart TCLine in its area "chart".
class frmCurve : public QWidget, public Form, public ControlBar {
  public:
    static constexpr int kFastMilliseconds = 100;
    // Where the play-rate slider stands at load (rate 1).
    static constexpr int kPlaySpeedAtLoad = 45;
    // The read-out of a stop: speed 000, the car left where it is.
    static const QString kZeroReadOut;

    // One step of the play-rate slider: where it snaps to and the rate it gives.
    struct RateStep {
        int sliderValue;
        const char* rate;
    };
    static RateStep rateStepFor(int sliderValue);
    // The right end of the time axis for a track of n points: the margin grows from -1 to +2
    // points with the track's length.
    static double timeAxisEnd(int pointCount);

    frmCurve(Windows& windows, QWidget* parent);
    ~frmCurve() override;

    bool Form_Load() override;

    void setSnapshotRefused(bool refused) override;
    void DrawCurves() override;
    void ShowPlayPosition(const QString& position) override;
    void DataShow(const QString& readOut) override;
    void ClearPlayback() override;
    void ShowUnitPicture() override;
    void playOrPause() override;
    void moveBy(double seconds) override;
    void moveToStart() override;
    void moveToEnd() override;

    SkinHost* buttonskin() const { return m_buttonskin.get(); }
    // Where the chart goes; it keeps the skin's area "chart".
    QWidget& chartArea() { return m_chartArea; }
    // nullptr only when the platform has no chart to give.
    Chart* TCLine() const { return m_tcLine.get(); }
    // The point count of the track drawn last.
    const QString& TCLineTag() const { return m_tcLineTag; }
    // "SPEED" or "GS".
    const QString& chartMode() const { return m_chartMode; }
    QTimer& tFast() { return m_tFast; }
    void tFast_Timer();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    enum class Scan { Forward, Backward };

    void layoutChart();
    SkinElement* element(const QString& name) const;
    int sliderValue(const QString& name) const;
    void setSliderValue(const QString& name, int value);
    VideoWindow* video() const;
    // nullptr while the video window is not there.
    MediaPlayer* player() const;
    bool playingOrPaused() const;
    bool playing() const;

    void buttonskin_Click(SkinElement& element);
    void buttonskin_Value(SkinElement& element, int value);
    void speaker(SkinElement& element);
    void cmdPlay();
    void stop();
    void pause();
    void previousOrNext(Scan direction);
    void startFast(const char* step);
    void chartModeButton(SkinElement& element, const QString& mode);
    // The picture of the video saved as a JPEG file where the user chooses.
    void takeSnapshot();
    void ResetModeButtons();
    void playProgress(int value);
    void playSpeed(int value);
    void volume(int value);
    // The first usable ticked row from position first (1-based) in the direction given,
    // started; rows whose file has gone are unticked and flagged on the way. False when none
    // was started.
    bool StartListItem(int first, Scan direction, bool reportNothing);
    void TCLine_OnMouseUp(QPoint position);
    // A vertical line at x: white from -200 to 200 while playing, red from 0 to 200 after a
    // click.
    void cursorLine(double x, bool clicked);
    // The track shown, or nullptr when there is none.
    std::shared_ptr<clsDot> currentTrack() const;

    std::unique_ptr<SkinHost> m_buttonskin;
    QWidget m_chartArea;
    std::unique_ptr<Chart> m_tcLine;
    QString m_tcLineTag;
    QString m_chartMode;
    QTimer m_tFast;
    QString m_tFastTag;
};
