#ifndef REQUESTPAGE_H
#define REQUESTPAGE_H

#include "corvexpaywizard.h"
#include "icxwizardpage.h"

#include <QWizardPage>

// Stands in for the data pages: the request "function key=value ..." ("rCode" a number) of the
// kind `type`, which the sender page goes by alone, under `uid` or, when 0, a new uid each time.
// It leads to a fixed page kind, so that a test can also walk the wizard to any visit.
class RequestPage : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    RequestPage(QWizard *wizard, int type, qint64 uid, int kind = CorvexPayWizard::PageMsgSender,
        const QString &text = "listtid phone=9001234567")
        : QWizardPage(wizard)
        , kind(CorvexPayWizard::EPages(kind))
    {
        const QStringList words = text.split(' ');
        QVariantMap data;
        for (const QString &word : words.mid(1))
            data.insert(word.section('=', 0, 0), word.section('=', 1));
        if (data.contains("rCode"))
            data["rCode"] = data["rCode"].toInt();
        request.setType(CorvexRequest::ERequestType(type));
        request.setFunction(words.first());
        request.setUid(uid);
        request.setCurrencyId(643);
        request.setData(data);
    }
    int nextId() const override { return CorvexPayWizard::pageIdFor(wizard(), kind); }
    QString preview() const override { return "<p>Request &lt;1&gt;</p>"; }
    CorvexRequest outputData() const override
    {
        CorvexRequest sent = request;
        if (!request.uid())
            sent.generateUid(10452);
        return sent;
    }

    const CorvexPayWizard::EPages kind;
    CorvexRequest request;
};

#endif // REQUESTPAGE_H
