#ifndef PLUGINFINDER_H
#define PLUGINFINDER_H

#include <QPluginLoader>
#include <QString>
#include <QStringList>

class IPayByProvider;

// Finds and loads a payment plug-in module the way a terminal does: through QPluginLoader
// alone, checking the interface identifier in the metadata before anything is instantiated.
class PluginFinder
{
public:
    // Where to look when no module is named: next to the program in the build tree or in an
    // installation, then the folder the host was built against.
    static QStringList searchFolders();
    // The first module file in the search folders; empty when there is none.
    static QString findModule();

    // Loads `fileName`; null with `error` set when the file is missing, is not a plug-in, has
    // another interface identifier or does not provide IPayByProvider.
    IPayByProvider *load(const QString &fileName, QString *error);

    QString fileName() const { return m_loader.fileName(); }

private:
    QPluginLoader m_loader;
};

#endif // PLUGINFINDER_H
