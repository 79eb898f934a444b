#include "platform/x11/SocketWatch.h"

#include <QSocketNotifier>

namespace tilewise::x11 {

SocketWatch::SocketWatch(int descriptor, std::function<void()> onReadable)
    : notifier_(std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated,
                     [onReadable = std::move(onReadable)] { onReadable(); });
}

SocketWatch::~SocketWatch() = default;

void SocketWatch::stop() {
    notifier_->setEnabled(false);
}

}  // namespace tilewise::x11
