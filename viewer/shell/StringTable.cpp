#include "shell/StringTable.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

bool addGroup(QHash<int, QString>& texts, const QJsonObject& group, int base, QString* error) {
    for (auto it = group.begin(); it != group.end(); ++it) {
        bool ok = false;
        const int id = it.key().toInt(&ok);
        if (!ok || id < 0 || !it.value().isString()) {
            if (error != nullptr) {
                *error = QStringLiteral("bad entry \"%1\" under base %2").arg(it.key()).arg(base);
            }
            return false;
        }
        texts.insert(base + id, it.value().toString());
    }
    return true;
}

}  // namespace

StringTable StringTable::fromJson(const QByteArray& json, QString* error) {
    StringTable table;
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject()) {
        if (error != nullptr) {
            *error = parseError.errorString();
        }
        return table;
    }
    const QJsonObject root = document.object();
    QHash<int, QString> texts;
    if (!addGroup(texts, root.value(QStringLiteral("shared")).toObject(), 0, error)) {
        return table;
    }
    const QJsonObject languages = root.value(QStringLiteral("languages")).toObject();
    for (auto it = languages.begin(); it != languages.end(); ++it) {
        bool ok = false;
        const int base = it.key().toInt(&ok);
        if (!ok || base <= 0) {
            if (error != nullptr) {
                *error = QStringLiteral("bad language base \"%1\"").arg(it.key());
            }
            return table;
        }
        if (!addGroup(texts, it.value().toObject(), base, error)) {
            return table;
        }
    }
    table.m_texts = std::move(texts);
    return table;
}

StringTable StringTable::builtIn() {
    QFile file(QStringLiteral(":/harvdvr/strings.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        return StringTable();
    }
    return fromJson(file.readAll());
}

long long StringTable::idFor(long long languageNumber, int textId) {
    // Far beyond any table, and never an overflow.
    constexpr long long kLimit = 1'000'000'000'000LL;
    return std::clamp(languageNumber, -kLimit, kLimit) * 10000 + textId;
}

QString StringTable::languageText(long long languageNumber, int textId) const {
    const long long id = idFor(languageNumber, textId);
    if (id < 0 || id > std::numeric_limits<int>::max() || !contains(static_cast<int>(id))) {
        throw std::runtime_error("Resource with identifier '" + std::to_string(id) + "' not found");
    }
    return m_texts.value(static_cast<int>(id));
}

std::optional<QString> StringTable::find(int id) const {
    const auto it = m_texts.constFind(id);
    if (it == m_texts.constEnd()) {
        return std::nullopt;
    }
    return *it;
}

QString StringTable::text(int id) const {
    const auto it = m_texts.constFind(id);
    if (it == m_texts.constEnd()) {
        throw std::runtime_error("Resource with identifier '" + std::to_string(id) + "' not found");
    }
    return *it;
}

QList<int> StringTable::ids() const {
    QList<int> ids = m_texts.keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}
