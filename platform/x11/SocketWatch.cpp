#include "platform/x11/SocketWatch.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>

namespace tilewise::x11 {

SocketWatch::SocketWatch(int descriptor, std::function<void()> onReadable, When when)
    : notifier_(std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, onReadable);
    auto* dispatcher = QAbstractEventDispatcher::instance();
    if (when == When::readableOrBeforeSleeping && dispatcher != nullptr) {
        // The notifier is the connection's context, so the call stops with the watch.
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, notifier_.get(),
                         [this, onReadable] {
                             if (notifier_->isEnabled())
                                 onReadable();
                         });
    }
}

SocketWatch::~SocketWatch() = default;

void SocketWatch::stop() {
    notifier_->setEnabled(false);
}

}  // namespace tilewise::x11
