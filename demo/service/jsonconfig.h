#ifndef JSONCONFIG_H
#define JSONCONFIG_H

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

class JsonConfig;

// One object of a JSON configuration file with its path from the root ("provider.group"), so
// that a missing or mistyped key is reported with the file and the full key.
class JsonNode
{
public:
    JsonNode() = default;
    JsonNode(JsonConfig *config, const QJsonObject &object, const QString &path);

    bool has(const QString &key) const { return m_object.contains(key); }
    QJsonObject raw() const { return m_object; }
    QString path() const { return m_path; }
    QString path(const QString &key) const;

    // The widest whole numbers a JSON number (a double) carries exactly: +-2^53.
    static constexpr qint64 MaxInteger = 9007199254740992LL;

    // Required values: a missing key or a value of another kind records an error.
    QString string(const QString &key) const;
    qint64 integer(const QString &key) const { return integer(key, -MaxInteger, MaxInteger); }
    // A whole number from `min` to `max`; anything else records an error and gives 0.
    qint64 integer(const QString &key, qint64 min, qint64 max) const;
    JsonNode object(const QString &key) const;
    QList<JsonNode> objects(const QString &key) const;

    // Optional values: the fallback when the key is missing, an error when it has another kind.
    QString string(const QString &key, const QString &fallback) const;
    qint64 integer(const QString &key, qint64 fallback) const
    {
        return integer(key, fallback, -MaxInteger, MaxInteger);
    }
    qint64 integer(const QString &key, qint64 fallback, qint64 min, qint64 max) const;
    bool flag(const QString &key, bool fallback) const;
    QStringList strings(const QString &key) const;
    QJsonObject map(const QString &key) const;

    // Reports a value that has the right kind but is unusable.
    void fail(const QString &key, const QString &problem) const;

private:
    QJsonValue value(const QString &key, QJsonValue::Type type, bool required) const;

    JsonConfig *m_config = nullptr;
    QJsonObject m_object;
    QString m_path;
};

// A JSON configuration file whose root is an object. The first problem found is kept as the
// error, worded for the person who edits the file.
class JsonConfig
{
public:
    // Reads at most `maxBytes`: a longer file (or an endless one such as /dev/zero) is refused.
    bool load(const QString &fileName, qint64 maxBytes);

    JsonNode root() { return JsonNode(this, m_root, QString()); }
    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString fileName() const { return m_fileName; }

    // Records a problem with the value under `path`; the first one wins.
    void fail(const QString &path, const QString &problem);

private:
    QString m_fileName;
    QJsonObject m_root;
    QString m_error;
};

#endif // JSONCONFIG_H
