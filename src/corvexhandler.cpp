#include "corvexhandler.h"

#include "corvexpaywizard.h"

const QSet<qint64> CorvexHandler::SUPPORTED_PROVIDERS = {1586};

CorvexHandler::CorvexHandler(QObject *parent)
    : QObject(parent)
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
    wizard->setMessageReciever(m_messageReciever.data(), m_messageRecieverSignal.constData());
    wizard->setMessageSender(m_messageSender.data(), m_messageSenderMethod.constData());
    wizard->setInfo(m_boxInfo);
    return wizard;
}
