#include "startup.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>
#include <QTranslator>

namespace kovanta {

QString applicationTitle()
{
    return QStringLiteral("VEMO-KOVANTA Rezepturendisplay");
}

QString mainWindowCaption()
{
    return QStringLiteral("VEMO-KOVANTA  Rezepturendisplay");
}

QString y2kWarning(const QDate& today)
{
    if (!today.isValid() || today >= QDate(1999, 1, 1))
        return {};
    return QStringLiteral("Sie haben möglicherweise ein Y2k Problem\nIhr Systemdatum zeigt:") +
           today.toString(QStringLiteral("dd.MM.yyyy"));
}

void showY2kWarningIfNeeded(QWidget* parent)
{
    const QString text = y2kWarning(QDate::currentDate());
    if (text.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

void paintProgramIcon(QPainter& p, int size)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, size - 1.0, size - 1.0);
    QRadialGradient g(r.center(), size * 0.6, r.center() - QPointF(size * 0.2, size * 0.2));
    g.setColorAt(0.0, QColor(170, 240, 170));
    g.setColorAt(0.5, QColor(0, 150, 0));
    g.setColorAt(1.0, QColor(0, 70, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(r);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(static_cast<int>(size * 0.62));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("K"));
}

QTranslator* installGermanQtTexts()
{
    // qtbase holds the texts of the widgets and of print support.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

QImage programIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintProgramIcon(p, size);
    p.end();
    return image;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}

} // namespace kovanta
