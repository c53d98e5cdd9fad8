#include "host/event_source.h"

#include <gtest/gtest.h>

#include <optional>

namespace trawlex::host {
namespace {

TEST(ClickEvent, EachSubscribedHandlerRunsOncePerFire) {
    ClickEvent click;
    int first = 0;
    int second = 0;
    Subscription a = click.Subscribe([&] { ++first; });
    Subscription b = click.Subscribe([&] { ++second; });
    click.Fire();
    click.Fire();
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 2);
}

TEST(ClickEvent, CancellingOrDroppingASubscriptionStopsItsHandler) {
    ClickEvent click;
    int calls = 0;
    Subscription kept = click.Subscribe([&] { ++calls; });
    {
        Subscription dropped = click.Subscribe([&] { calls += 100; });
        EXPECT_EQ(click.HandlerCount(), 2);
    }
    kept.Cancel();
    EXPECT_FALSE(kept.Active());
    click.Fire();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(click.HandlerCount(), 0);
}

TEST(ClickEvent, MovedSubscriptionsKeepTheirHandler) {
    ClickEvent click;
    int calls = 0;
    Subscription target;
    {
        Subscription source = click.Subscribe([&] { ++calls; });
        target = std::move(source);
    }
    click.Fire();
    EXPECT_EQ(calls, 1);
    // Assigning over an active subscription cancels the old one.
    target = click.Subscribe([&] { calls += 10; });
    click.Fire();
    EXPECT_EQ(calls, 11);
}

TEST(ClickEvent, HandlersMayChangeSubscriptionsWhileFiring) {
    ClickEvent click;
    int selfCancelling = 0;
    int cancelledByOther = 0;
    int addedLate = 0;
    std::optional<Subscription> self;
    std::optional<Subscription> victim;
    std::optional<Subscription> late;
    self = click.Subscribe([&] {
        ++selfCancelling;
        self.reset();
        victim.reset();
        late = click.Subscribe([&] { ++addedLate; });
    });
    victim = click.Subscribe([&] { ++cancelledByOther; });
    click.Fire();
    EXPECT_EQ(selfCancelling, 1);
    EXPECT_EQ(cancelledByOther, 0);  // cancelled before its turn
    EXPECT_EQ(addedLate, 0);         // not part of the click it was added in
    click.Fire();
    EXPECT_EQ(selfCancelling, 1);
    EXPECT_EQ(addedLate, 1);
}

TEST(ClickEvent, ASubscriptionMayOutliveItsEvent) {
    Subscription survivor;
    {
        ClickEvent click;
        survivor = click.Subscribe([] {});
    }
    EXPECT_TRUE(survivor.Active());
    survivor.Cancel();  // must not touch the destroyed event
    EXPECT_FALSE(survivor.Active());
}

}  // namespace
}  // namespace trawlex::host
