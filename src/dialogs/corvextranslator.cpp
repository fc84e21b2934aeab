#include "corvextranslator.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScopedValueRollback>
#include <QThread>
#include <QTranslator>

// The .qm files live in a static library: its resources are registered by hand, and outside
// any namespace, as Q_INIT_RESOURCE requires.
static void initTranslationResources()
{
    Q_INIT_RESOURCE(corvexpay_i18n);
}

CorvexTranslator::CorvexTranslator(QObject *parent)
    : QObject(parent)
    , m_translator(new QTranslator(this))
{
    initTranslationResources();
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    // An application-wide filter sees the events of every object of the GUI thread; only the
    // application's own LanguageChange is of interest.
    if (thread() == application->thread())
        application->installEventFilter(this);
    follow();
}

CorvexTranslator::~CorvexTranslator()
{
    m_swapping = true;
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeEventFilter(this);
    remove();
}

bool CorvexTranslator::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && !m_swapping
        && watched == QCoreApplication::instance())
        follow();
    return QObject::eventFilter(watched, event);
}

void CorvexTranslator::follow()
{
    const QLocale locale;
    if (locale.language() == m_language)
        return;
    m_language = locale.language();

    QScopedValueRollback<bool> swapping(m_swapping, true);
    remove();
    if (m_translator->load(
            locale, QStringLiteral("corvexpay"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        m_installed = QCoreApplication::installTranslator(m_translator);
}

void CorvexTranslator::remove()
{
    if (!m_installed)
        return;
    // A host may unload the plug-in after its application object is gone, and the
    // application's translators with it.
    if (QCoreApplication::instance())
        QCoreApplication::removeTranslator(m_translator);
    m_installed = false;
}
