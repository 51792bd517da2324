#include "qtstrings.h"

#include <QByteArray>
#include <QFile>

namespace kovanta {

QString withTrailingSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

std::string fsPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString displayPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace kovanta
