#ifndef HOSTLANGUAGE_H
#define HOSTLANGUAGE_H

#include <QObject>
#include <QStringList>

class QTranslator;

// The terminal's language, as a host keeps it: the default locale, which the plug-in follows,
// and Qt's own translation (the wizard's buttons, standard dialogs), from Qt's translations
// folder. A switch at run time sets both and lets the application know; F12 on any window of
// the terminal switches between the languages.
class HostLanguage : public QObject
{
    Q_OBJECT

public:
    static QStringList languages();
    // The language of the system locale when it is one of languages(), else English.
    static QString systemLanguage();

    explicit HostLanguage(QObject *parent = nullptr);

    // Sets the default locale and Qt's translation for `language` ("en", "ru"); false for a
    // language not offered. Qt's translation may be missing: the plug-in's texts still switch.
    bool apply(const QString &language);
    QString language() const { return m_language; }
    // The language F12 switches to.
    QString other() const;

    // F12 anywhere in the application switches to the other language.
    void switchOnKey();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTranslator *m_qt;
    QString m_language;
    bool m_qtInstalled = false;
    bool m_watching = false;
};

#endif // HOSTLANGUAGE_H
