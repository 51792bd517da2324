#include "messages.h"

#include <QCoreApplication>

namespace kovanta {

void postWindowMessage(QObject* receiver, QEvent::Type type, long long wParam, long long lParam)
{
    QCoreApplication::postEvent(receiver, new WindowMessage(type, wParam, lParam));
}

} // namespace kovanta
