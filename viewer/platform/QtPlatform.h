#pragma once

#include "Platform.h"
#include "QtFileDialogService.h"
#include "QtMessageBoxService.h"
#include "QtProcessRunner.h"
#include "QtUrlOpener.h"
#include "QtWaitService.h"

// The real services of the windowed program. Needs a QApplication.
class QtPlatform {
  public:
    QtPlatform();

    const Platform& services() const { return m_services; }

  private:
    QtMessageBoxService m_messageBoxes;
    QtFileDialogService m_fileDialogs;
    QtProcessRunner m_processes;
    QtUrlOpener m_urls;
    QtWaitService m_waits;
    Platform m_services;
};
