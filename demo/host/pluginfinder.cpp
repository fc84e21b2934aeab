#include "pluginfinder.h"

#include "ipaybyprovider.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>

QStringList PluginFinder::searchFolders()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    QStringList folders;
    // Relative to the program: the installed layout first, then the build tree's.
    for (const char *relative : {CORVEX_PLUGIN_RELATIVE_DIR, "../plugins/paybyprovider"})
        folders << QDir::cleanPath(programDir.absoluteFilePath(QString::fromUtf8(relative)));
#ifdef CORVEX_PLUGIN_INSTALL_DIR
    // A host built against an installed package also knows where that package keeps it.
    folders << QStringLiteral(CORVEX_PLUGIN_INSTALL_DIR);
#endif
    folders.removeDuplicates();
    return folders;
}

QString PluginFinder::findModule()
{
    for (const QString &folder : searchFolders()) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            const QString path = dir.absoluteFilePath(name);
            if (QLibrary::isLibrary(path))
                return path;
        }
    }
    return QString();
}

IPayByProvider *PluginFinder::load(const QString &fileName, QString *error)
{
    const QFileInfo info(fileName);
    if (!info.exists()) {
        *error = QStringLiteral("plug-in %1: no such file").arg(fileName);
        return nullptr;
    }
    m_loader.setFileName(info.absoluteFilePath());
    // The metadata is read without running any code of the module.
    const QJsonObject meta = m_loader.metaData();
    if (meta.isEmpty()) {
        *error = QStringLiteral("plug-in %1: not a Qt plug-in (%2)")
                     .arg(fileName, m_loader.errorString());
        return nullptr;
    }
    const QString iid = meta.value(QStringLiteral("IID")).toString();
    if (iid != QLatin1String(IPayByProvider_iid)) {
        *error = QStringLiteral("plug-in %1: interface \"%2\", expected \"%3\"")
                     .arg(fileName, iid, QStringLiteral(IPayByProvider_iid));
        return nullptr;
    }
    if (!m_loader.load()) {
        *error = QStringLiteral("plug-in %1: cannot be loaded (%2)")
                     .arg(fileName, m_loader.errorString());
        return nullptr;
    }
    auto *plugin = qobject_cast<IPayByProvider *>(m_loader.instance());
    if (!plugin) {
        *error = QStringLiteral("plug-in %1: its root object does not provide IPayByProvider")
                     .arg(fileName);
        return nullptr;
    }
    return plugin;
}
