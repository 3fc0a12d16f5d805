#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

class clsDot;

// The loaded tracks by key "No" + serial, in the order they were added: a click on the map
// asks the tracks in that order and takes the first that is hit.
class TrackTable {
  public:
    static QString keyFor(long long serial) {
        return QStringLiteral("No") + QString::number(serial);
    }

    bool contains(const QString& key) const;
    // Null when there is no track under key.
    std::shared_ptr<clsDot> find(const QString& key) const;
    // Adds the track; an existing entry is never replaced (false then).
    bool add(const QString& key, std::shared_ptr<clsDot> track);
    bool remove(const QString& key);
    void clear() { m_entries.clear(); }
    qsizetype size() const { return static_cast<qsizetype>(m_entries.size()); }
    QStringList keys() const;

  private:
    std::vector<std::pair<QString, std::shared_ptr<clsDot>>> m_entries;
};
