#include "toolcolumn.h"

#include "hemispherebutton.h"
#include "hint.h"
#include "platform/gui/uifont.h"

#include <QVBoxLayout>

namespace kovanta {

ToolColumn::ToolColumn(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel2"));
    const UiScale scale = applicationUiScale();
    setFixedWidth(scale.px(36));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(scale.px(2), scale.px(4), scale.px(2), scale.px(4));
    layout->setSpacing(scale.px(6));

    struct Def {
        int number;
        QColor face;
        const char* hint;
        void (ToolColumn::*signal)();
    };
    const Def defs[] = {
        {1, QColor(220, 0, 0), "Programmendende", &ToolColumn::quitRequested},
        {2, QColor(0, 170, 0), "Verzeichnisse hinzufügen", &ToolColumn::searchPathsRequested},
        {3, QColor(235, 215, 0), "Rezepte neu einlesen", &ToolColumn::reloadRequested},
        {4, QColor(192, 192, 192), "Drucken", &ToolColumn::printRequested},
        {6, QColor(110, 180, 255), "Rezepte aus dem Internet importieren",
         &ToolColumn::webImportRequested},
        {5, QColor(128, 128, 128), "Rezept in die Zwischenablage kopieren",
         &ToolColumn::copyRequested},
    };
    for (const Def& d : defs) {
        auto* b = new HemisphereButton(HemisphereButton::Shape::Round, d.face, this);
        b->setObjectName(QStringLiteral("HemisphereButton%1").arg(d.number));
        applyHint(b, QString::fromUtf8(d.hint));
        connect(b, &QAbstractButton::clicked, this, d.signal);
        layout->addWidget(b, 0, Qt::AlignHCenter);
        buttons_[d.number - 1] = b;
    }
    layout->addStretch(1);
    // The copy button belongs to the preview alone.
    setCopyVisible(false);
}

HemisphereButton* ToolColumn::button(int number) const
{
    return (number >= 1 && number <= 6) ? buttons_[number - 1] : nullptr;
}

void ToolColumn::setPrintEnabled(bool enabled)
{
    buttons_[3]->setEnabled(enabled);
}

void ToolColumn::setCopyVisible(bool visible)
{
    buttons_[4]->setVisible(visible);
}

void ToolColumn::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit reloadRequested();
    QFrame::mouseDoubleClickEvent(event);
}

} // namespace kovanta
