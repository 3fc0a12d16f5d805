#pragma once

#include "platform/Platform.h"
#include "platform/QtFileDialogService.h"
#include "platform/QtMessageBoxService.h"
#include "platform/QtProcessRunner.h"
#include "platform/QtUrlOpener.h"
#include "platform/QtWaitService.h"

// The real services of the windowed program. Needs a QApplication.
class QtPlatform {
  public:
    QtPlatform();

    const Platform& services() const { return m_services; }
    QtMessageBoxService& messageBoxes() { return m_messageBoxes; }

  private:
    QtMessageBoxService m_messageBoxes;
    QtFileDialogService m_fileDialogs;
    QtProcessRunner m_processes;
    QtUrlOpener m_urls;
    QtWaitService m_waits;
    Platform m_services;
};
