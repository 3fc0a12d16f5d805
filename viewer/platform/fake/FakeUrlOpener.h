#pragma once

#include <QStringList>

#include "platform/UrlOpener.h"

class FakeUrlOpener : public UrlOpener {
  public:
    bool open(const QString& address) override;

    void setResult(bool result) { m_result = result; }
    const QStringList& opened() const { return m_opened; }

  private:
    QStringList m_opened;
    bool m_result = true;
};
