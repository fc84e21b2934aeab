#ifndef CORVEXSIMULATOR_H
#define CORVEXSIMULATOR_H

#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>

// A stand-in for the Corvex service: customers known by their phone, banks by their BIK,
// templates per customer, and the four functions that read and change them. It answers every
// request, a request it does not understand included, and answers after a delay, as the real
// service does over the network.
class CorvexSimulator : public QObject
{
    Q_OBJECT

public:
    // Limits of the service file and of the reply delay (an hour).
    static constexpr qint64 MaxFileSize = 16 << 20;
    static constexpr int MaxReplyDelay = 3600000;

    explicit CorvexSimulator(QObject *parent = nullptr);

    // Replaces the whole state with the contents of a service file. On failure the state is
    // left as it was and `error` names the file and the key.
    bool load(const QString &fileName, QString *error);

    int replyDelay() const { return m_replyDelay; }
    void setReplyDelay(int milliseconds) { m_replyDelay = qBound(0, milliseconds, MaxReplyDelay); }

    // The reply to one request, at once; registrations take effect here.
    QJsonObject answer(const QJsonObject &request);
    // The same for a request as JSON text, with the reply as compact JSON text.
    QString answer(const QString &requestText);

    // Answers `requestText` after the reply delay through `deliver`. The state changes at once;
    // the reply is dropped when `context` is destroyed first (a client that went away).
    void submit(
        const QString &requestText, QObject *context, std::function<void(const QString &)> deliver);

    // The templates on record for a phone; empty for an unknown customer.
    QJsonArray templates(const QString &phone) const;
    bool isCustomer(const QString &phone) const { return m_customers.contains(phone); }

private:
    struct Customer
    {
        QString lastName;
        QString firstName;
        QString secondName;
        QJsonArray templates;
    };

    QJsonObject allTemplates(const QJsonObject &request);
    QJsonObject registration(const QJsonObject &request);
    QJsonObject checkParams(const QJsonObject &request);
    QJsonObject registreTemplate(const QJsonObject &request);
    bool injectedFailure(const QJsonObject &request, QJsonObject *reply) const;
    QString nextCreditCode();

    QMap<QString, Customer> m_customers;
    QMap<QString, QJsonObject> m_banks;
    QMap<QString, int> m_phoneCodes;
    QList<QJsonObject> m_failures;
    int m_unknownCustomerCode = 18;
    qint64 m_nextCreditCode = 0;
    int m_replyDelay = 0;
};

#endif // CORVEXSIMULATOR_H
