#include "terminalchannel.h"

#include "servicelink.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

const QString TerminalChannel::REQUEST_DESTINATION = QStringLiteral("/app/corvexRequest");
const QString TerminalChannel::REPLY_NAME = QStringLiteral("corvexReply");

TerminalChannel::TerminalChannel(ServiceLink *link, QObject *parent)
    : QObject(parent)
    , m_link(link)
{
    connect(m_link, &ServiceLink::received, this, &TerminalChannel::received);
    connect(m_link, &ServiceLink::problem, this, &TerminalChannel::problem);
    connect(m_link, &ServiceLink::undelivered, this, &TerminalChannel::undelivered);
}

void TerminalChannel::send(const QString &destination, const QVariant &data)
{
    if (destination != REQUEST_DESTINATION) {
        write(QStringLiteral("dropped  a message for the unknown destination %1").arg(destination));
        return;
    }
    const QString text = QString::fromUtf8(
        QJsonDocument(QJsonObject::fromVariantMap(data.toMap())).toJson(QJsonDocument::Compact));
    write(QStringLiteral("request  ") + text);
    m_link->post(text);
}

void TerminalChannel::received(const QString &text)
{
    pass(QStringLiteral("reply    "), text);
}

void TerminalChannel::undelivered(const QString &uid, const QString &why)
{
    // The plug-in takes a reply with its request's uid and "undelivered" for a connection error.
    const QJsonObject answer = {{QStringLiteral("uid"), uid}, {QStringLiteral("undelivered"), true},
        {QStringLiteral("description"), why}};
    const QString text = QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact));
    pass(QStringLiteral("undelivered "), text);
}

void TerminalChannel::pass(const QString &kind, const QString &text)
{
    write(kind + text);
    emit reply(QVariantMap({{QStringLiteral("name"), REPLY_NAME}}), text);
}

void TerminalChannel::problem(const QString &what)
{
    write(QStringLiteral("line     ") + what);
}

void TerminalChannel::write(const QString &line)
{
    if (m_log)
        *m_log << line << Qt::endl;
}
