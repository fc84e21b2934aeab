#include "hostlanguage.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
const QStringList LANGUAGES = {QStringLiteral("en"), QStringLiteral("ru")};

QLocale localeOf(const QString &language)
{
    return QLocale(
        language == QLatin1String("ru") ? QStringLiteral("ru_RU") : QStringLiteral("en_US"));
}
} // namespace

QStringList HostLanguage::languages()
{
    return LANGUAGES;
}

QString HostLanguage::systemLanguage()
{
    return QLocale::system().language() == QLocale::Russian ? QStringLiteral("ru")
                                                            : QStringLiteral("en");
}

HostLanguage::HostLanguage(QObject *parent)
    : QObject(parent)
    , m_qt(new QTranslator(this))
{ }

bool HostLanguage::apply(const QString &language)
{
    if (!LANGUAGES.contains(language))
        return false;
    const QLocale locale = localeOf(language);
    // The locale first: the plug-in reads it when the application hears of the change.
    QLocale::setDefault(locale);
    m_language = language;

    bool told = false;
    if (m_qtInstalled) {
        told = QCoreApplication::removeTranslator(m_qt);
        m_qtInstalled = false;
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    const QString qtTranslations = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    if (m_qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), qtTranslations)) {
        m_qtInstalled = QCoreApplication::installTranslator(m_qt);
        told = told || m_qtInstalled;
    }
    // Without Qt's translation nothing was installed or removed, and so nothing told the
    // application; the plug-in must hear of the switch all the same.
    if (!told) {
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &change);
    }
    return true;
}

QString HostLanguage::other() const
{
    return m_language == QLatin1String("ru") ? QStringLiteral("en") : QStringLiteral("ru");
}

void HostLanguage::switchOnKey()
{
    if (m_watching || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_watching = true;
}

bool HostLanguage::eventFilter(QObject *watched, QEvent *event)
{
    // A shortcut override comes first and goes to the focused widget: taken here, F12 works on
    // every page whatever has the focus, and the press itself never reaches an input.
    if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F12
        && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
        if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
            apply(other());
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
