#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/SeekQueue.h"

namespace {

// What the player sends, step by step, and what it shows meanwhile.
struct Step {
    const char* what;
    std::function<void(SeekQueue&)> act;
    std::optional<double> sent;
    std::optional<double> shown;
};

void run(const std::vector<Step>& steps) {
    SeekQueue queue;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act(queue);
        EXPECT_EQ(queue.take(1000), step.sent);
        EXPECT_EQ(queue.target(), step.shown);
    }
}

TEST(SeekQueue, OneSeekIsSentAndShownUntilItsPictureComes) {
    run({
        {"nothing asked", [](SeekQueue&) {}, std::nullopt, std::nullopt},
        {"asked", [](SeekQueue& q) { q.request(3.0); }, 3.0, 3.0},
        {"a picture from before the seek", [](SeekQueue& q) { q.pictureShown(0.4, 1010); },
         std::nullopt, 3.0},
        {"its picture", [](SeekQueue& q) { q.pictureShown(3.02, 1100); }, std::nullopt,
         std::nullopt},
    });
}

TEST(SeekQueue, SeeksAskedWhileOneIsOnItsWayWaitAndOnlyTheNewestFollows) {
    run({
        {"first", [](SeekQueue& q) { q.request(1.0); }, 1.0, 1.0},
        {"second waits", [](SeekQueue& q) { q.request(2.0); }, std::nullopt, 2.0},
        {"third replaces it", [](SeekQueue& q) { q.request(3.0); }, std::nullopt, 3.0},
        {"the first lands: the newest follows", [](SeekQueue& q) { q.pictureShown(1.0, 1200); },
         3.0, 3.0},
        {"a late picture of the skipped one does not land the newest",
         [](SeekQueue& q) { q.pictureShown(2.0, 1100); }, std::nullopt, 3.0},
        {"the newest lands", [](SeekQueue& q) { q.pictureShown(3.0, 1200); }, std::nullopt,
         std::nullopt},
    });
}

TEST(SeekQueue, PositionLandsASeekOnlyWhereNoPictureWillComeAndOnlyOnceTrusted) {
    constexpr qint64 trust = SeekQueue::kPositionTrustMilliseconds;
    struct Case {
        const char* what;
        double position;
        bool picturesExpected;
        qint64 waited;
        bool landed;
    };
    const Case cases[] = {
        {"at once: the back end may echo the target", 5.0, false, 0, false},
        {"just before the position is trusted", 5.0, false, trust - 1, false},
        {"trusted and near", 5.3, false, trust, true},
        {"trusted but far", 4.0, false, trust, false},
        {"near, but a picture is to come", 5.0, true, trust, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeekQueue queue;
        queue.request(5.0);
        ASSERT_EQ(queue.take(100), 5.0);
        queue.positionRead(c.position, c.picturesExpected, 100 + c.waited);
        EXPECT_EQ(queue.onItsWay(), !c.landed);
        EXPECT_EQ(queue.target().has_value(), !c.landed);
    }
}

// The back end dropped the seek: a picture of another place, or nothing for too long.
TEST(SeekQueue, SeekThatShowsNothingOfItsPlaceIsSentAgainAFewTimesThenLetGo) {
    constexpr qint64 resend = SeekQueue::kResendMilliseconds;
    constexpr qint64 stray = SeekQueue::kStrayPictureMilliseconds;
    run({
        {"asked", [](SeekQueue& q) { q.request(4.0); }, 4.0, 4.0},
        {"a picture of elsewhere right after sending is from before the seek",
         [](SeekQueue& q) { q.pictureShown(0.2, 1000 + stray - 1); }, std::nullopt, 4.0},
        {"a picture of elsewhere later: sent again",
         [](SeekQueue& q) { q.pictureShown(0.3, 1000 + stray); }, 4.0, 4.0},
        {"no picture before the resend time",
         [](SeekQueue& q) { q.positionRead(4.0, true, 1000 + resend - 1); }, std::nullopt, 4.0},
        {"none by then: sent a third time",
         [](SeekQueue& q) { q.positionRead(4.0, true, 1000 + resend); }, 4.0, 4.0},
        {"still nothing: let go, the position shows again",
         [](SeekQueue& q) { q.positionRead(0.4, true, 1000 + resend); }, std::nullopt,
         std::nullopt},
        {"a new seek has tries of its own", [](SeekQueue& q) { q.request(2.0); }, 2.0, 2.0},
        {"and lands", [](SeekQueue& q) { q.pictureShown(2.0, 1100); }, std::nullopt, std::nullopt},
    });
}

TEST(SeekQueue, LostSeekIsSentAgainAndClearForgetsEverything) {
    run({
        {"asked", [](SeekQueue& q) { q.request(4.0); }, 4.0, 4.0},
        {"lost by the back end", [](SeekQueue& q) { q.resend(); }, 4.0, 4.0},
        {"a newer one waits", [](SeekQueue& q) { q.request(5.0); }, std::nullopt, 5.0},
        {"lost again: the newest goes", [](SeekQueue& q) { q.resend(); }, 5.0, 5.0},
        {"cleared", [](SeekQueue& q) { q.clear(); }, std::nullopt, std::nullopt},
        {"a picture after clearing changes nothing",
         [](SeekQueue& q) { q.pictureShown(5.0, 2000); }, std::nullopt, std::nullopt},
    });
}

}  // namespace
