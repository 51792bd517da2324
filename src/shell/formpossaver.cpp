#include "formpossaver.h"

#include "platform/qt/settingsstore.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kovanta {
namespace {

// How much of a restored window must lie on a screen so the user can still grab it.
constexpr int kMinVisible = 50;

QString valueName(int index)
{
    return QStringLiteral("SaveInt") + QString::number(index);
}

} // namespace

TFormPosSaver::TFormPosSaver(QWidget* form, const QString& programName, SettingsStore* store)
    : QObject(form), form_(form), store_(store)
{
    if (!store_) {
        ownedStore_ = std::make_unique<SettingsStore>();
        store_ = ownedStore_.get();
    }
    const QString name = form_->objectName();
    const qsizetype underscore = name.indexOf(QLatin1Char('_'));
    key_ = QStringLiteral("Software\\") + programName + QLatin1Char('\\') +
           (underscore < 0 ? name : name.left(underscore));
    load();
    form_->installEventFilter(this);
}

TFormPosSaver::~TFormPosSaver() = default;

void TFormPosSaver::load()
{
    const QString names[] = {QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Width"),
                             QStringLiteral("Height")};
    int v[4] = {};
    bool complete = true;
    for (int i = 0; i < 4; ++i) {
        complete = complete && store_->hasValue(key_, names[i]);
        v[i] = store_->readInteger(key_, names[i], 0);
    }
    stored_ = complete ? QRect(v[0], v[1], v[2], v[3]) : QRect();
    storedMaximized_ = store_->readInteger(key_, QStringLiteral("Maximized"), 0) != 0;
    extraCount_ =
        std::clamp(store_->readInteger(key_, QStringLiteral("SaveIntMax"), 0), 0, kMaxExtra);
    for (int i = 1; i <= extraCount_; ++i) {
        if (store_->hasValue(key_, valueName(i)))
            extra_[i - 1] = store_->readInteger(key_, valueName(i), 0);
    }
}

int TFormPosSaver::GetValue(int index, int def, int min, int max) const
{
    int value = def;
    if (index >= 1 && index <= kMaxExtra && index <= extraCount_ && extra_[index - 1])
        value = *extra_[index - 1];
    if (min != 0 && value < min)
        value = min;
    if (max != 0 && value > max)
        value = max;
    return value;
}

void TFormPosSaver::SetValue(int index, int value)
{
    if (index < 1 || index > kMaxExtra)
        return;
    extra_[index - 1] = value;
    extraCount_ = std::max(extraCount_, index);
    save();
}

QRect TFormPosSaver::placedGeometry(const QRect& stored, const QRect& current,
                                    const QList<QRect>& screens)
{
    if (!stored.isValid())
        return current;
    QRect result(current.topLeft(), stored.size());
    const QRect wanted(stored.topLeft(), stored.size());
    for (const QRect& screen : screens) {
        const QRect visible = screen.intersected(wanted);
        if (visible.width() >= kMinVisible && visible.height() >= kMinVisible) {
            result.moveTopLeft(stored.topLeft());
            break;
        }
    }
    return result;
}

void TFormPosSaver::restore()
{
    restored_ = true;
    if (stored_.isValid()) {
        QList<QRect> screens;
        for (const QScreen* s : QGuiApplication::screens())
            screens.push_back(s->availableGeometry());
        form_->setGeometry(placedGeometry(stored_, form_->geometry(), screens));
    }
    if (storedMaximized_ || openMaximized_)
        form_->setWindowState(form_->windowState() | Qt::WindowMaximized);
}

void TFormPosSaver::save()
{
    // Before the window was shown its geometry means nothing: keep what was stored.
    QRect r = stored_;
    bool maximized = storedMaximized_;
    if (restored_) {
        maximized = form_->isMaximized();
        r = (maximized || form_->isMinimized()) ? form_->normalGeometry() : form_->geometry();
        if (!r.isValid())
            r = form_->geometry();
        stored_ = r;
        storedMaximized_ = maximized;
    }
    if (r.isValid()) {
        store_->writeInteger(key_, QStringLiteral("Left"), r.x());
        store_->writeInteger(key_, QStringLiteral("Top"), r.y());
        store_->writeInteger(key_, QStringLiteral("Width"), r.width());
        store_->writeInteger(key_, QStringLiteral("Height"), r.height());
    }
    store_->writeInteger(key_, QStringLiteral("Maximized"), maximized ? 1 : 0);
    store_->writeInteger(key_, QStringLiteral("SaveIntMax"), extraCount_);
    for (int i = 1; i <= extraCount_; ++i) {
        if (extra_[i - 1])
            store_->writeInteger(key_, valueName(i), *extra_[i - 1]);
    }
    store_->sync();
}

bool TFormPosSaver::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form_) {
        if (event->type() == QEvent::Show && !restored_)
            restore();
        else if (event->type() == QEvent::Close)
            save();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kovanta
