#ifndef CXPAYTEMPLATESMODEL_H
#define CXPAYTEMPLATESMODEL_H

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The customer's payment templates, one row each, and a last row for adding a new one. The
// display text of a row is a rich-text card; the other operations give what the payment takes
// from the chosen template.
class CXPayTemplatesModel : public QAbstractListModel
{
    Q_OBJECT

public:
    // Key of the additional data entry that holds the template's own fields for the service.
    static const QString CORVEX_ADDITIONAL_NAME;

    explicit CXPayTemplatesModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QList<QVariant> templates() const { return m_templates; }
    // Entries that are not objects carry no template and are left out, so that no row stands
    // for them.
    void setTemplates(const QList<QVariant> &templates);
    QString phone() const { return m_phone; }
    void setPhone(const QString &phone) { m_phone = phone; }
    QString fullName() const { return m_fullName; }
    void setFullName(const QString &fullName) { m_fullName = fullName; }

    bool addNew(const QModelIndex &index) const;
    bool addNew(int row) const { return addNew(index(row, 0)); }

    QString prepareItem(const QVariantMap &item) const;

    QString description(const QModelIndex &index) const;
    QString description(int row) const { return description(index(row, 0)); }
    QString plainDescription(const QModelIndex &index) const;
    QString plainDescription(int row) const { return plainDescription(index(row, 0)); }
    QString requestCode(const QModelIndex &index) const;
    QString requestCode(int row) const { return requestCode(index(row, 0)); }
    QString info(const QModelIndex &index) const;
    QString info(int row) const { return info(index(row, 0)); }
    QVariantMap additionalData(const QModelIndex &index) const;
    QVariantMap additionalData(int row) const { return additionalData(index(row, 0)); }

private:
    // The template of a template row; false for any other index.
    bool templateAt(const QModelIndex &index, QVariantMap *item) const;

    QList<QVariant> m_templates;
    QString m_phone;
    QString m_fullName;
};

#endif // CXPAYTEMPLATESMODEL_H
