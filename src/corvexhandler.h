#ifndef CORVEXHANDLER_H
#define CORVEXHANDLER_H

#include "ipaybyprovider.h"

#include <QByteArray>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QSet>

class CorvexTranslator;

// The plug-in's root object: keeps what the host hands over and gives it to every payment
// wizard it starts.
class CorvexHandler : public QObject, public IPayByProvider
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IPayByProvider_iid FILE "corvexhandler.json")
    Q_INTERFACES(IPayByProvider)

public:
    static const QSet<qint64> SUPPORTED_PROVIDERS;

    explicit CorvexHandler(QObject *parent = nullptr);
    ~CorvexHandler() override;

    QSet<qint64> supportedProviders() const override;
    bool providerIsSupported(qint64 id) const override;
    bool providerIsSupported(const Provider &provider) const override;
    void setInputFont(const QFont &font) override;
    bool setMessageReciever(QObject *receiver, const char *signal) override;
    bool setMessageSender(QObject *sender, const char *method) override;
    void setBoxInfo(const BoxInfo &info) override;
    IPayDialog *start(const Currency &currency, const FixNumber &prepay,
        const BoxComProfile &comProfile, const Provider &provider, QWidget *parent) override;

private:
    static void warnNotConnected(const char *what, QObject *object, const QByteArray &signature);

    QFont m_inputFont;
    // The host owns these objects and may destroy them at any time.
    QPointer<QObject> m_messageSender;
    QByteArray m_messageSenderMethod;
    QPointer<QObject> m_messageReciever;
    QByteArray m_messageRecieverSignal;
    BoxInfo m_boxInfo;
    // The plug-in's texts in the host's language for as long as the plug-in is in use.
    CorvexTranslator *m_translator;
};

#endif // CORVEXHANDLER_H
