#pragma once

#include <QString>
#include <memory>

#include "platform/MessageBoxService.h"

class Application;
class QSize;
class QWidget;
class SkinHost;
class Windows;

// What every window of the viewer shares: the windows it reaches, a Load that runs once
// after the window has been made, and the skin, message and placement helpers.
//
// Load runs only once the window is reachable through the application, so a Load may reach a
// window whose own Load reaches back (the video window and its control bar do).
class Form {
  public:
    explicit Form(Windows& windows);
    virtual ~Form();

    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // False when the window refused to load (its skin is missing); it is then unloaded.
    virtual bool Form_Load() = 0;

    bool isFormLoaded() const { return m_formLoaded; }

  protected:
    // Where a window is centred: the whole screen or its work area (without the panels).
    enum class ScreenArea { Whole, WorkArea };

    Windows& windows() const { return m_windows; }
    Application& app() const;

    // A skin host of the platform; nullptr when the program has no skin engine, which the
    // windows treat like a missing skin file.
    std::unique_ptr<SkinHost> makeSkin() const;
    // The program folder followed by a relative path such as "skin/about.mp4".
    QString programPath(const QString& relative) const;
    // Loads the file into the host and skins the window with it. False when the file is
    // missing or cannot be read; the caller tells the user as its window's rules say, and the
    // reader's precise reason (file, element, fault) goes to the error stream.
    static bool loadAndApply(SkinHost* host, const QString& path, QWidget* window,
                             QString* error = nullptr);

    // A box with texts from the string table; a text the table lacks is reported as its
    // number, so the box still appears.
    MessageBoxService::Answer message(MessageBoxService::Icon icon,
                                      MessageBoxService::Buttons buttons, int titleId,
                                      const QString& text) const;
    QString textOr(int textId) const;
    // Text 3012, critical, titled 3011.
    void reportMissingSystemFile() const;

    // Puts window, at size, centred on the screen it belongs to (its owner's, else the
    // primary one). Called from the window's own resize and show events, which the move
    // raises again: those inner calls are ignored.
    void placeCentred(QWidget& window, QSize size, ScreenArea area, bool clampTopLeft);

  private:
    friend class Windows;

    Windows& m_windows;
    bool m_formLoaded = false;
    bool m_placing = false;
};
