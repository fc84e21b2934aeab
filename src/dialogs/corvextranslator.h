#ifndef CORVEXTRANSLATOR_H
#define CORVEXTRANSLATOR_H

#include <QLocale>
#include <QObject>

class QTranslator;

// The plug-in's own translation, installed on the application for the language of the default
// QLocale. A host switches language by QLocale::setDefault() followed by a LanguageChange of the
// application (installing or removing its own Qt translator sends one); the translation follows
// it, and every open page re-translates on the LanguageChange that the swap sends. Destroying
// this object removes the translation.
class CorvexTranslator : public QObject
{
    Q_OBJECT

public:
    explicit CorvexTranslator(QObject *parent = nullptr);
    ~CorvexTranslator() override;

    // The language followed: that of QLocale() when it was last looked at.
    QLocale::Language language() const { return m_language; }
    // Whether a translation is installed; the source texts are English, so English has none.
    bool isInstalled() const { return m_installed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();
    void remove();

    QTranslator *m_translator;
    QLocale::Language m_language = QLocale::AnyLanguage;
    bool m_installed = false;
    // Installing and removing send LanguageChange to the application themselves.
    bool m_swapping = false;
};

#endif // CORVEXTRANSLATOR_H
