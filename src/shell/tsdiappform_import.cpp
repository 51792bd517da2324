// The main window's side of the web import: creating the import window on first use and
// telling it where to store and whom to notify. Opening, closing and MSG_IMPORT_NOTIFY are
// handled in tsdiappform.cpp.

#include "formpossaver.h"
#include "messages.h"
#include "tsdiappform.h"
#include "webimport/window/internetrezeptimport.h"

#include <QCoreApplication>

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

// First use of "Web-Rezepte...": the import window, owned by this window. Fetched files go to
// the web recipe directory; notifications come back as MSG_IMPORT_NOTIFY, posted, or during
// "Übernehmen" delivered at once. Its position and size are kept under
// "Software\kovanta\InternetRezeptImport".
QWidget* TSDIAppForm::createImportWindow()
{
    auto* window = new TInternetRezeptImport(this, importDefaultDirectory_);
    window->setImportDir(webRecipeDirectory_);
    window->setNotifyWindow([this](int kind, bool waitHandled) {
        if (waitHandled) {
            WindowMessage message(MSG_IMPORT_NOTIFY, kind);
            QCoreApplication::sendEvent(this, &message);
        } else {
            postWindowMessage(this, MSG_IMPORT_NOTIFY, kind);
        }
    });
    window->setAcceptLinkVisible(false);
    auto* saver = new TFormPosSaver(window, QStringLiteral("kovanta"));
    saver->setObjectName(QStringLiteral("FormPosSaver1"));
    new SaveOnHide(window, saver);
    return window;
}

} // namespace kovanta
