#include "platform/Publisher.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tilewise {
namespace {

TEST(PublisherTest, DeliversToLiveSubscriptionsInOrder) {
    Publisher<int> publisher;
    std::vector<int> seen;
    auto first = publisher.subscribe([&](int v) { seen.push_back(v); });
    auto second = publisher.subscribe([&](int v) { seen.push_back(-v); });
    publisher.publish(1);
    first.cancel();
    publisher.publish(2);
    EXPECT_EQ(seen, (std::vector<int>{1, -1, -2}));
}

TEST(PublisherTest, MovedSubscriptionStaysSubscribedUntilDestroyed) {
    Publisher<int> publisher;
    int count = 0;
    std::optional<Subscription> kept;
    {
        auto subscription = publisher.subscribe([&](int) { ++count; });
        kept.emplace(std::move(subscription));
    }
    publisher.publish(1);
    kept.reset();
    publisher.publish(2);
    EXPECT_EQ(count, 1);
}

TEST(PublisherTest, ObserverMayCancelAnotherDuringDelivery) {
    Publisher<int> publisher;
    int laterCalls = 0;
    Subscription later;
    auto first = publisher.subscribe([&](int) { later.cancel(); });
    later = publisher.subscribe([&](int) { ++laterCalls; });
    publisher.publish(1);
    EXPECT_EQ(laterCalls, 0);
}

TEST(PublisherTest, SubscriptionMayOutliveItsPublisher) {
    const auto captured = std::make_shared<int>(0);
    Subscription subscription;
    {
        Publisher<int> publisher;
        subscription = publisher.subscribe([captured](int) {});
        EXPECT_EQ(captured.use_count(), 2);
    }
    EXPECT_EQ(captured.use_count(), 1) << "the publisher's observers outlived it";
    subscription.cancel();
}

// The platform's registries hand out ids and share one removeObserver across their publishers.
TEST(PublisherTest, IdsOfDifferentPublishersNeverCollide) {
    Publisher<> parameters;
    Publisher<int, std::string> spaces;
    std::vector<std::string> seen;
    const auto parameterId = parameters.add([&] { seen.push_back("parameters"); });
    const auto spaceId =
        spaces.add([&](int n, const std::string& s) { seen.push_back(s + std::to_string(n)); });
    EXPECT_NE(parameterId, spaceId);
    EXPECT_NE(parameterId, kNoObserver);
    // Removing one publisher's id from both leaves the other's observer alone.
    parameters.remove(spaceId);
    spaces.remove(parameterId);
    parameters.publish();
    spaces.publish(2, "space");
    parameters.remove(parameterId);
    parameters.publish();
    EXPECT_EQ(seen, (std::vector<std::string>{"parameters", "space2"}));
    EXPECT_TRUE(parameters.empty());
}

}  // namespace
}  // namespace tilewise
