#include "startpage.h"

#include "guidetexts.h"
#include "hemispherebutton.h"
#include "hint.h"
#include "platform/gui/uifont.h"

#include <QButtonGroup>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace kovanta {

namespace {

const QColor kGuideFace(0, 0, 128); // navy
const QColor kStartFace(0, 150, 0); // green once the start timer fired
const QColor kQuitFace(128, 0, 0);  // maroon
const QColor kGrayFace(128, 128, 128);

QTextEdit* makeTextPane(const QString& name, const QString& hint, QWidget* parent)
{
    auto* edit = new QTextEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    // Read-only text still takes the keyboard so that it can be scrolled and copied from.
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(applicationUiScale().px(16));
    edit->setFont(f);
    applyHint(edit, hint);
    return edit;
}

} // namespace

LinkLabel::LinkLabel(const QString& text, const QUrl& url, QWidget* parent)
    : QLabel(text, parent), url_(url)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    // Room for the focus frame around the address.
    setContentsMargins(4, 2, 4, 2);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(pal);
    setToolTip(url.toString());
    opener = [](const QUrl& u) { return QDesktopServices::openUrl(u); };
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        open();
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    // Enter follows a link, as in a web browser; a blank is no reason to start a program.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Tab reaches the link: it shows that it holds the keyboard.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void LinkLabel::open()
{
    emit opened(url_);
    if (!opener || !opener(url_))
        emit openFailed(url_);
}

QString StartPage::linkFailedMessage(const QUrl& url)
{
    if (url.scheme() == QLatin1String("mailto"))
        return QStringLiteral("Kein E-Mail-Programm gefunden: ") + url.path();
    return QStringLiteral("Kein Web-Browser gefunden: ") + url.toString();
}

StartPage::StartPage(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel11"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);

    // Left: guide text with the links below it in the upper half, product text in the lower.
    auto* left = new QFrame(this);
    left->setObjectName(QStringLiteral("Panel13"));
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(4);

    auto* upper = new QFrame(left);
    upper->setObjectName(QStringLiteral("Panel16"));
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    guide_ = makeTextPane(QStringLiteral("RichEdit3"), QStringLiteral("Kurzanleitung"), upper);
    upperLayout->addWidget(guide_, 1);

    auto* links = new QFrame(upper);
    links->setObjectName(QStringLiteral("Panel17"));
    auto* linkLayout = new QHBoxLayout(links);
    linkLayout->setContentsMargins(8, 2, 8, 2);
    linkLayout->addWidget(new QLabel(QStringLiteral("Internet:"), links));
    auto* web = new LinkLabel(makerWebAddress(), QUrl(makerWebUrl()), links);
    web->setObjectName(QStringLiteral("LinkInternet"));
    webLink_ = web;
    linkLayout->addWidget(web);
    linkLayout->addSpacing(24);
    linkLayout->addWidget(new QLabel(QStringLiteral("E-Mail:"), links));
    auto* mail = new LinkLabel(makerEMail(), QUrl(QStringLiteral("mailto:") + makerEMail()), links);
    mail->setObjectName(QStringLiteral("LinkEMail"));
    mailLink_ = mail;
    for (LinkLabel* link : {web, mail})
        connect(link, &LinkLabel::openFailed, this,
                [this](const QUrl& url) { emit linkFailed(linkFailedMessage(url)); });
    linkLayout->addWidget(mail);
    linkLayout->addStretch(1);
    upperLayout->addWidget(links);

    product_ =
        makeTextPane(QStringLiteral("RichEdit2"), QStringLiteral("Powered by VEMOSOFT"), left);
    QPalette pal = product_->palette();
    pal.setColor(QPalette::Base, Qt::white);
    product_->setPalette(pal);

    // Equal stretch on size-ignoring halves: the product text always takes half the height.
    upper->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    product_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    leftLayout->addWidget(upper, 1);
    leftLayout->addWidget(product_, 1);
    outer->addWidget(left, 1);

    // Right: the button column.
    auto* column = new QFrame(this);
    column->setObjectName(QStringLiteral("Panel12"));
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(6, 0, 2, 0);
    columnLayout->setSpacing(6);
    guideGroup_ = new QButtonGroup(this);
    guideGroup_->setExclusive(true);

    struct GuideButton {
        int number;
        const char* caption;
        int tag;
    };
    const GuideButton guides[] = {{12, "Rezeptliste", 1}, {13, "Vorschau", 2},
                                  {14, "Speiseplan", 3},  {15, "Bedarfsliste", 4},
                                  {7, "Web-Rezepte", 5},  {8, "Verzeichnisse", 6}};
    for (const GuideButton& g : guides) {
        auto* b = new HemisphereButton(HemisphereButton::Shape::Caption, kGuideFace, column);
        b->setObjectName(QStringLiteral("HemisphereButton%1").arg(g.number));
        b->setText(QString::fromUtf8(g.caption));
        b->setCheckable(true);
        applyHint(b, QStringLiteral("Kurzanleitung zum Programm"));
        guideGroup_->addButton(b, g.tag);
        columnLayout->addWidget(b);
    }
    connect(guideGroup_, &QButtonGroup::idClicked, this, &StartPage::showGuideText);

    columnLayout->addStretch(1);
    startButton_ = new HemisphereButton(HemisphereButton::Shape::Caption, kGrayFace, column);
    startButton_->setObjectName(QStringLiteral("HemisphereButton16"));
    startButton_->setText(QStringLiteral("Programmstart"));
    startButton_->setEnabled(false);
    applyHint(startButton_, QStringLiteral("Starten Sie VEMO-KOVANTA"));
    connect(startButton_, &QAbstractButton::clicked, this, &StartPage::startRequested);
    columnLayout->addWidget(startButton_);

    auto* quit = new HemisphereButton(HemisphereButton::Shape::Caption, kQuitFace, column);
    quit->setObjectName(QStringLiteral("HemisphereButton9"));
    quit->setText(QStringLiteral("Beenden"));
    applyHint(quit, QStringLiteral("Programm beenden"));
    connect(quit, &QAbstractButton::clicked, this, &StartPage::quitRequested);
    columnLayout->addWidget(quit);
    outer->addWidget(column, 0);
}

void StartPage::showGuideText(int tag)
{
    if (tag < 1 || tag > kGuideTextCount)
        return;
    if (QAbstractButton* b = guideGroup_->button(tag))
        b->setChecked(true);
    guideTag_ = tag;
    writeGuideText(guide_, tag);
}

void StartPage::rebuildProductText()
{
    writeProductText(product_);
}

void StartPage::enableStart()
{
    startButton_->setEnabled(true);
    startButton_->setFaceColor(kStartFace);
}

void StartPage::enableStartAfter(int delayMs)
{
    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this] {
        enableStart();
        emit startEnabled();
    });
    timer->start(delayMs);
}

bool StartPage::canStart() const
{
    return !isHidden() && startButton_->isEnabled();
}

} // namespace kovanta
