#include "corvexhandler.h"

#include "corvexlog.h"
#include "corvexpaywizard.h"
#include "corvextranslator.h"

const QSet<qint64> CorvexHandler::SUPPORTED_PROVIDERS = {1586};

CorvexHandler::CorvexHandler(QObject *parent)
    : QObject(parent)
    , m_translator(new CorvexTranslator(this))
{ }

CorvexHandler::~CorvexHandler() = default;

QSet<qint64> CorvexHandler::supportedProviders() const
{
    return SUPPORTED_PROVIDERS;
}

bool CorvexHandler::providerIsSupported(qint64 id) const
{
    return SUPPORTED_PROVIDERS.contains(id);
}

bool CorvexHandler::providerIsSupported(const Provider &provider) const
{
    return providerIsSupported(provider.id());
}

void CorvexHandler::setInputFont(const QFont &font)
{
    m_inputFont = font;
}

bool CorvexHandler::setMessageReciever(QObject *receiver, const char *signal)
{
    m_messageReciever = receiver;
    m_messageRecieverSignal = QByteArray(signal);
    return true;
}

bool CorvexHandler::setMessageSender(QObject *sender, const char *method)
{
    m_messageSender = sender;
    m_messageSenderMethod = QByteArray(method);
    return true;
}

void CorvexHandler::setBoxInfo(const BoxInfo &info)
{
    m_boxInfo = info;
}

IPayDialog *CorvexHandler::start(const Currency &currency, const FixNumber &prepay,
    const BoxComProfile &comProfile, const Provider &provider, QWidget *parent)
{
    auto *wizard = new CorvexPayWizard(m_inputFont, currency, prepay, parent);
    wizard->setProvider(provider);
    wizard->setComProfile(comProfile);
    // A mistyped signature would leave the wizard waiting for replies that never come: say so.
    if (!wizard->setMessageReciever(m_messageReciever.data(), m_messageRecieverSignal.constData())
        && m_messageReciever)
        warnNotConnected("reply signal", m_messageReciever.data(), m_messageRecieverSignal);
    if (!wizard->setMessageSender(m_messageSender.data(), m_messageSenderMethod.constData())
        && m_messageSender)
        warnNotConnected("request method", m_messageSender.data(), m_messageSenderMethod);
    wizard->setInfo(m_boxInfo);
    return wizard;
}

void CorvexHandler::warnNotConnected(const char *what, QObject *object, const QByteArray &signature)
{
    qCWarning(lcCorvexExchange).noquote().nospace()
        << "The host's " << what << " \"" << signature << "\" of "
        << object->metaObject()->className()
        << " could not be connected: the service exchange cannot work";
}
