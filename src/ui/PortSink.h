#pragma once
// The Qt end of the message port: what players post becomes a PortEvent
// posted to the board view (moves, examined fields) or the main frame (log
// lines, progress). Posting is safe from any thread; once detached, posts
// are dropped, so a worker that outlives the window posts into nothing.

#include "app/MessagePort.h"

#include <QObject>

#include <mutex>

namespace quintrel::ui {

class CWindowPort : public MessageSink {
public:
    CWindowPort(QObject* view, QObject* frame) : view(view), frame(frame) {}
    void post(PortMessage msg) override;
    // Called on the UI thread before the view or the frame goes away.
    void detach();

private:
    std::mutex mutex;
    QObject* view;
    QObject* frame;
};

} // namespace quintrel::ui
