#ifndef ICXWIZARDPAGE_H
#define ICXWIZARDPAGE_H

#include "corvexrequest.h"

#include <QObject>
#include <QString>

// What every page of the payment wizard tells the pages after it: a rich-text summary of its
// input and the request that input makes.
class ICXWizardPage
{
public:
    virtual ~ICXWizardPage() { }

    virtual QString preview() const = 0;
    virtual CorvexRequest outputData() const = 0;

    // The interface of a page, found through the page's meta-object; null when the object is
    // not a page of this kind.
    static ICXWizardPage *fromObject(QObject *object)
    {
        return object ? static_cast<ICXWizardPage *>(object->qt_metacast("ICXWizardPage"))
                      : nullptr;
    }
};

#endif // ICXWIZARDPAGE_H
