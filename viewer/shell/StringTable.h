#pragma once

#include <QHash>
#include <QString>
#include <optional>

class QByteArray;

// Every user text by number: language base + text id, or the plain id for the texts that
// belong to no language (the map address, the language list).
class StringTable {
  public:
    StringTable() = default;

    // Reads the table from its data document. A document that cannot be read gives an empty
    // table and a reason in error; every lookup then fails, which start-up reports.
    static StringTable fromJson(const QByteArray& json, QString* error = nullptr);
    // The table compiled into the program.
    static StringTable builtIn();

    // Language n's texts are numbered n × 10000 + text id; the one rule every lookup follows.
    static long long idFor(long long languageNumber, int textId);
    // The text of that language; throws std::runtime_error naming the id when the table lacks
    // it, also for ids beyond any the table can hold.
    QString languageText(long long languageNumber, int textId) const;

    std::optional<QString> find(int id) const;
    // Throws std::runtime_error naming the id when the table lacks it.
    QString text(int id) const;
    bool contains(int id) const { return m_texts.contains(id); }
    QList<int> ids() const;

  private:
    QHash<int, QString> m_texts;
};
