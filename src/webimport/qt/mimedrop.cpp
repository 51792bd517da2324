#include "mimedrop.h"

#include "platform/qt/ansiqstring.h"
#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace kovanta {
namespace {

QByteArray windowsFormat(const QMimeData& mime, const char* name)
{
    return mime.data(
        QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(QLatin1String(name)));
}

QString lineOf(const QMimeData& mime, const QString& format, int index)
{
    const QStringList lines = DecodeMozUrlLines(mime.data(format));
    return index < lines.size() ? lines.at(index) : QString();
}

bool isShortcutFile(const QString& path)
{
    const QString lower = path.toLower();
    return lower.endsWith(QLatin1String(".url")) || lower.endsWith(QLatin1String(".desktop"));
}

} // namespace

QStringList DecodeMozUrlLines(const QByteArray& data)
{
    QString text;
    const bool bomLE = data.startsWith("\xFF\xFE");
    const bool bomBE = data.startsWith("\xFE\xFF");
    const bool nul =
        (data.size() > 0 && data.at(0) == '\0') || (data.size() > 1 && data.at(1) == '\0');
    if (bomLE || bomBE || nul) {
        const qsizetype start = (bomLE || bomBE) ? 2 : 0;
        text.reserve((data.size() - start) / 2);
        for (qsizetype i = start; i + 1 < data.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(data.at(bomBE ? i + 1 : i));
            const auto hi = static_cast<unsigned char>(data.at(bomBE ? i : i + 1));
            text += QChar(static_cast<char16_t>(lo | (hi << 8)));
        }
    } else {
        text = QString::fromUtf8(data);
    }
    while (!text.isEmpty() && (text.back() == QChar(0) || text.back() == QLatin1Char('\r') ||
                               text.back() == QLatin1Char('\n')))
        text.chop(1);
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

std::shared_ptr<TDropDataMap> MapMimeData(const QMimeData& mime)
{
    auto map = std::make_shared<TDropDataMap>();
    const QList<QUrl> urls = mime.urls();
    QStringList localFiles;
    QString link;
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            localFiles << url.toLocalFile();
        else if (link.isEmpty() && !url.isEmpty())
            link = QString::fromLatin1(url.toEncoded());
    }

    // "UniformResourceLocator"
    if (QByteArray raw = windowsFormat(mime, kFormatURL); !raw.isEmpty()) {
        map->Set(kFormatURL, raw.toStdString());
    } else {
        if (link.isEmpty())
            link = lineOf(mime, QStringLiteral("text/x-moz-url"), 0);
        if (link.isEmpty())
            link = lineOf(mime, QStringLiteral("_NETSCAPE_URL"), 0);
        if (!link.isEmpty())
            map->Set(kFormatURL, qstringToAnsi(link));
    }

    // Plain text. Qt answers text() of a file drag with the file URLs themselves; taken as a
    // link they would hide the shortcut behind the files.
    const bool fileDrag = !localFiles.isEmpty() && localFiles.size() == urls.size();
    if (!fileDrag) {
        const QString text = mime.text();
        if (!text.isEmpty())
            map->Set(kFormatText, qstringToAnsi(text));
    }

    // "FileContents" and the shortcut's title.
    QString shortcutTitle;
    if (QByteArray raw = windowsFormat(mime, kFormatFileContents); !raw.isEmpty()) {
        map->Set(kFormatFileContents, raw.toStdString());
    } else if (!localFiles.isEmpty() && isShortcutFile(localFiles.first())) {
        // Only a regular file of shortcut size: a FIFO named *.url would block the drop.
        std::string content;
        if (readRegularFile(QFile::encodeName(localFiles.first()).toStdString(),
                            TDropURLTarget::kMaxShortcutSize, content)
                .ok()) {
            map->Set(kFormatFileContents, content);
            const QFileInfo info(localFiles.first());
            if (info.suffix().toLower() == QLatin1String("desktop")) {
                if (auto s = DesktopLinkShortcut(content); s && !s->name.empty())
                    shortcutTitle = ansiToQString(s->name);
            }
            if (shortcutTitle.isEmpty())
                shortcutTitle = info.completeBaseName();
        }
    }

    // File-drop list.
    if (!localFiles.isEmpty()) {
        std::vector<std::u16string> names;
        for (const QString& f : localFiles)
            names.push_back(f.toStdU16String());
        map->Set(kFormatFileDrop, MakeFileDropList(names));
    }

    // "FileGroupDescriptor": the title plays the part of the descriptor's file name, whose last
    // four characters the target drops.
    if (QByteArray raw = windowsFormat(mime, kFormatDescriptor); !raw.isEmpty()) {
        map->Set(kFormatDescriptor, raw.toStdString());
    } else {
        QString title = lineOf(mime, QStringLiteral("_NETSCAPE_URL"), 1);
        if (title.isEmpty())
            title = lineOf(mime, QStringLiteral("text/x-moz-url"), 1);
        if (title.isEmpty())
            title = lineOf(mime, QStringLiteral("text/x-moz-url-desc"), 0);
        if (title.isEmpty())
            title = shortcutTitle;
        if (!title.isEmpty())
            map->Set(kFormatDescriptor,
                     MakeFileGroupDescriptor(qstringToAnsi(title).substr(0, 255) + ".url"));
    }
    return map;
}

} // namespace kovanta
