#include "platform/fake/FakeMapBrowser.h"

void FakeMapBrowser::load(const QString& address) {
    m_loads << address;
}

void FakeMapBrowser::setLoadFinishedHandler(LoadFinishedHandler handler) {
    m_loadFinished = std::move(handler);
}

void FakeMapBrowser::runScript(const QString& code) {
    m_scripts << code;
}

void FakeMapBrowser::readPageValue(const QString& name, ValueHandler handler) {
    if (!isIdentifier(name)) {
        handler(std::nullopt);
        return;
    }
    if (m_answerAtOnce) {
        handler(pageValue(name));
    } else {
        m_pending.append({name, std::move(handler)});
    }
}

void FakeMapBrowser::writePageValue(const QString& name, const QString& value) {
    if (!isIdentifier(name)) {
        return;
    }
    m_writes.append({name, value});
    m_values.insert(name, value);
}

void FakeMapBrowser::finishLoad(bool ok) {
    if (m_loadFinished) {
        m_loadFinished(ok);
    }
}

std::optional<QString> FakeMapBrowser::pageValue(const QString& name) const {
    const auto it = m_values.constFind(name);
    if (it == m_values.constEnd()) {
        return std::nullopt;
    }
    return *it;
}

void FakeMapBrowser::answerPendingReads() {
    // A handler may read again; those reads wait for the next call.
    auto pending = std::move(m_pending);
    m_pending.clear();
    for (auto& [name, handler] : pending) {
        handler(pageValue(name));
    }
}
