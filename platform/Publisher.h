#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/Observation.h"

namespace tilewise {

/// Keeps an observer subscribed for as long as it exists; destroying, moving over or
/// cancelling it unsubscribes. Outliving the publisher is harmless.
class Subscription {
  public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
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
    std::function<void()> cancel_;
};

/// The one way of observing: delivers values to plain callbacks, in order of subscription.
/// Observers may subscribe, unsubscribe or publish again from inside a delivery, and from any
/// thread; each is called on the publishing thread, outside the publisher's lock. An observer
/// is held either by a `Subscription` or, for the platform's interfaces, by its `ObserverId`.
template <typename... Values>
class Publisher {
  public:
    using Observer = std::function<void(const Values&...)>;

    [[nodiscard]] Subscription subscribe(Observer observer) {
        const auto id = add(std::move(observer));
        return Subscription{[weak = std::weak_ptr(state_), id] {
            if (const auto state = weak.lock())
                remove(*state, id);
        }};
    }

    /// Adds an observer under an id unique in the process, so that several publishers can
    /// share one `removeObserver`.
    ObserverId add(Observer observer) {
        const auto id = newObserverId();
        std::lock_guard lock{state_->mutex};
        state_->observers.emplace(id, std::make_shared<Observer>(std::move(observer)));
        return id;
    }
    /// Removes an observer; an id of another publisher, or none, is ignored.
    void remove(ObserverId id) { remove(*state_, id); }

    void publish(const Values&... values) {
        // Ids first, then a lookup per call: an observer removed by an earlier one is skipped.
        std::vector<ObserverId> ids;
        {
            std::lock_guard lock{state_->mutex};
            for (const auto& entry : state_->observers)
                ids.push_back(entry.first);
        }
        const auto state = state_;
        for (const auto id : ids) {
            std::shared_ptr<Observer> observer;
            {
                std::lock_guard lock{state->mutex};
                const auto found = state->observers.find(id);
                if (found == state->observers.end())
                    continue;
                observer = found->second;
            }
            (*observer)(values...);
        }
    }

    bool empty() const {
        std::lock_guard lock{state_->mutex};
        return state_->observers.empty();
    }

  private:
    struct State {
        mutable std::mutex mutex;
        std::map<ObserverId, std::shared_ptr<Observer>> observers;
    };

    static void remove(State& state, ObserverId id) {
        std::shared_ptr<Observer> removed;  // destroyed outside the lock
        std::lock_guard lock{state.mutex};
        if (const auto found = state.observers.find(id); found != state.observers.end()) {
            removed = std::move(found->second);
            state.observers.erase(found);
        }
    }

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace tilewise
