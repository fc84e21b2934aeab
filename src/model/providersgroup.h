#ifndef PROVIDERSGROUP_H
#define PROVIDERSGROUP_H

#include "corvexmodel_global.h"

#include <QString>

class CORVEXMODEL_EXPORT ProvidersGroup
{
public:
    ProvidersGroup() = default;

    qint64 id() const { return m_id; }
    void setId(const qint64 &id) { m_id = id; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    qint64 relevance() const { return m_relevance; }
    void setRelevance(const qint64 &relevance) { m_relevance = relevance; }
    QString description() const { return m_description; }
    void setDescription(const QString &description) { m_description = description; }

    bool operator==(const ProvidersGroup &other) const;
    bool operator!=(const ProvidersGroup &other) const { return !(*this == other); }

private:
    qint64 m_id = 0;
    QString m_name;
    qint64 m_relevance = 0;
    QString m_description;
};

#endif // PROVIDERSGROUP_H
