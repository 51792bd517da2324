#include "webimportlink.h"

#include "formpossaver.h"
#include "messages.h"
#include "webimport/window/internetrezeptimport.h"

#include <QCoreApplication>

#include <utility>

namespace kovanta {
namespace {

// The position saver writes on close; the import window is only hidden while the program
// runs, so it also writes each time the window is hidden.
class SaveOnHide : public QObject {
public:
    SaveOnHide(QWidget* window, TFormPosSaver* saver) : QObject(window), saver_(saver)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            saver_->save();
        return QObject::eventFilter(watched, event);
    }

private:
    TFormPosSaver* saver_;
};

} // namespace

WebImportLink::WebImportLink(QWidget* mainWindow, QString defaultDirectory)
    : mainWindow_(mainWindow), defaultDirectory_(std::move(defaultDirectory))
{}

WebImportLink::~WebImportLink()
{
    if (importWindow_)
        importWindow_->close();
}

QWidget* WebImportLink::create(const QString& webRecipeDirectory)
{
    auto* window = new TInternetRezeptImport(mainWindow_, defaultDirectory_);
    window->setImportDir(webRecipeDirectory);
    // Notices are posted to the main window, or during "Übernehmen" delivered at once.
    window->setNotifyWindow([main = mainWindow_](int kind, bool waitHandled) {
        if (!main)
            return;
        if (waitHandled) {
            WindowMessage message(MSG_IMPORT_NOTIFY, kind);
            QCoreApplication::sendEvent(main, &message);
        } else {
            postWindowMessage(main, MSG_IMPORT_NOTIFY, kind);
        }
    });
    window->setAcceptLinkVisible(false);
    auto* saver = new TFormPosSaver(window, QStringLiteral("kovanta"));
    saver->setObjectName(QStringLiteral("FormPosSaver1"));
    new SaveOnHide(window, saver);
    return window;
}

void WebImportLink::show(const QString& webRecipeDirectory)
{
    if (!mainWindow_)
        return;
    if (!importWindow_)
        importWindow_ = create(webRecipeDirectory);
    importWindow_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    importWindow_->show();
    mainWindow_->hide();
}

void WebImportLink::notify(long long kind)
{
    if (kind != IMPORT_WINDOW_CLOSES) {
        emit recipesStored();
        return;
    }
    if (importWindow_) {
        importWindow_->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        importWindow_->hide();
    }
    if (!mainWindow_)
        return;
    mainWindow_->setWindowFlag(Qt::WindowStaysOnTopHint, false);
    mainWindow_->setAttribute(Qt::WA_ShowWithoutActivating, true);
    mainWindow_->show();
    mainWindow_->raise();
    mainWindow_->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

} // namespace kovanta
