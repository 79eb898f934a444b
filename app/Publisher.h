#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace tilewise {

/// Keeps an observer subscribed for as long as it exists; destroying, moving over or
/// cancelling it unsubscribes. Outliving the publisher is harmless.
class Subscription {
  public:
    Subscription() = default;
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, nullptr)) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { cancel(); }

    void cancel() {
        if (auto cancel = std::exchange(cancel_, nullptr))
            cancel();
    }

  private:
    template <typename Value>
    friend class Publisher;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}

    std::function<void()> cancel_;
};

/// Delivers values to plain callbacks, in order of subscription. Observers may subscribe,
/// unsubscribe or publish again from inside a delivery.
template <typename Value>
class Publisher {
  public:
    using Observer = std::function<void(const Value&)>;

    [[nodiscard]] Subscription subscribe(Observer observer) {
        const auto id = nextId_++;
        observers_->emplace(id, std::move(observer));
        return Subscription{[weak = std::weak_ptr(observers_), id] {
            if (const auto observers = weak.lock())
                observers->erase(id);
        }};
    }

    void publish(const Value& value) {
        // Ids first, then a lookup per call: an observer removed by an earlier one is skipped.
        std::vector<std::uint64_t> ids;
        for (const auto& [id, observer] : *observers_) {
            ids.push_back(id);
        }
        const auto observers = observers_;
        for (const auto id : ids) {
            const auto found = observers->find(id);
            if (found == observers->end())
                continue;
            const auto observer = found->second;
            observer(value);
        }
    }

  private:
    std::shared_ptr<std::map<std::uint64_t, Observer>> observers_ =
        std::make_shared<std::map<std::uint64_t, Observer>>();
    std::uint64_t nextId_ = 1;
};

}  // namespace tilewise
