#include "ui/PortSink.h"

#include "ui/QuintrelView.h"

#include <QCoreApplication>

namespace quintrel::ui {

void CWindowPort::post(PortMessage msg)
{
    std::lock_guard lock(mutex);
    QObject* target = nullptr;
    if (msg.id == MSG_MOVE || msg.id == MSG_EXAMINED || msg.id == MSG_FORFEIT)
        target = view;
    else if (msg.id == MSG_LOG || msg.id == MSG_PROGRESS || msg.id == MSG_LOG_LINE)
        target = frame;
    if (target)
        QCoreApplication::postEvent(target, new PortEvent(std::move(msg)));
}

void CWindowPort::detach()
{
    std::lock_guard lock(mutex);
    view = nullptr;
    frame = nullptr;
}

} // namespace quintrel::ui
