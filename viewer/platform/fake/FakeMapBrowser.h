#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

#include "platform/MapBrowser.h"

// Records every address and script. Page values live in a table the test fills; reads are
// answered at once or, to mimic the web engine, held until answerPendingReads().
class FakeMapBrowser : public MapBrowser {
  public:
    void load(const QString& address) override;
    void setTileAddress(const QString& address) override { m_tileAddress = address; }
    const QString& tileAddress() const { return m_tileAddress; }
    void setLoadFinishedHandler(LoadFinishedHandler handler) override;
    int readyFlag() const override { return m_readyFlag; }
    void setReadyFlag(int flag) override { m_readyFlag = flag; }
    void runScript(const QString& code) override;
    void readPageValue(const QString& name, ValueHandler handler) override;
    void writePageValue(const QString& name, const QString& value) override;
    QWidget* widget() override { return nullptr; }

    // Ends the page load as the web engine would.
    void finishLoad(bool ok);
    void setPageValue(const QString& name, const QString& value) { m_values.insert(name, value); }
    void removePageValue(const QString& name) { m_values.remove(name); }
    std::optional<QString> pageValue(const QString& name) const;
    void setAnswerReadsAtOnce(bool atOnce) { m_answerAtOnce = atOnce; }
    void answerPendingReads();

    const QStringList& loads() const { return m_loads; }
    const QStringList& scripts() const { return m_scripts; }
    const QList<std::pair<QString, QString>>& writes() const { return m_writes; }
    void clearScripts() { m_scripts.clear(); }

  private:
    QStringList m_loads;
    QString m_tileAddress;
    QStringList m_scripts;
    QList<std::pair<QString, QString>> m_writes;
    QHash<QString, QString> m_values;
    QList<std::pair<QString, ValueHandler>> m_pending;
    LoadFinishedHandler m_loadFinished;
    int m_readyFlag = 0;
    bool m_answerAtOnce = true;
};
