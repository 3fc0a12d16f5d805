#include "services/TrackTable.h"

#include <algorithm>

bool TrackTable::contains(const QString& key) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&key](const auto& entry) { return entry.first == key; });
}

std::shared_ptr<clsDot> TrackTable::find(const QString& key) const {
    for (const auto& [name, track] : m_entries) {
        if (name == key) {
            return track;
        }
    }
    return nullptr;
}

bool TrackTable::add(const QString& key, std::shared_ptr<clsDot> track) {
    if (contains(key)) {
        return false;
    }
    m_entries.emplace_back(key, std::move(track));
    return true;
}

bool TrackTable::remove(const QString& key) {
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&key](const auto& entry) { return entry.first == key; });
    if (it == m_entries.end()) {
        return false;
    }
    m_entries.erase(it);
    return true;
}

QStringList TrackTable::keys() const {
    QStringList keys;
    for (const auto& entry : m_entries) {
        keys << entry.first;
    }
    return keys;
}
