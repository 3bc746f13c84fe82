#include "simdata/SDEventList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <list>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/LogRecorder.h"

namespace {

SDEvent* makeEvent(double milliseconds, const std::string& source, int type = 1) {
    auto* event = new SDEvent;
    event->m_time = SDTime(milliseconds);
    event->m_type = type;
    event->m_source = source;
    return event;
}

std::vector<std::string> sources(const SDEventList& list) {
    std::vector<std::string> out;
    for (const SDEvent& event : list.getEvents()) {
        out.push_back(event.getSource());
    }
    return out;
}

TEST(SDEventTest, PrintsOneLineWithEveryField) {
    LogRecorder rec;
    SDEvent event;
    event.m_type = 1;
    event.m_time.parse("00:00:01:250");
    event.m_source = "cell(2,3)";
    event.m_port = "out";
    event.m_value = 1.5;
    event.m_destination = "cell(2,4)";
    event.print();
    event.m_type = 0;
    event.m_source = "100%s%n";  // names are data, never formats
    event.print();
    event.m_type = 7;
    event.print();
    ASSERT_EQ(3u, rec.lines().size()) << rec.text();
    EXPECT_EQ(
        "EVENT: Type: OUTPUT;Time: 00:00:01:250;Src: cell(2,3);Port: out;Value: 1.500000;Dest: cell(2,4)",
        rec.lines()[0]);
    EXPECT_EQ(
        "EVENT: Type: EXTERNAL;Time: 00:00:01:250;Src: 100%s%n;Port: out;Value: 1.500000;Dest: cell(2,4)",
        rec.lines()[1]);
    EXPECT_EQ(0u, rec.lines()[2].find("EVENT: Type: OUTPUT;"));
}

TEST(SDEventListTest, KeepsTimeOrderAndArrivalOrderForEqualTimes) {
    SDEventList list;
    EXPECT_TRUE(list.addEvent(makeEvent(5000, "five")));
    EXPECT_TRUE(list.addEvent(makeEvent(3000, "three")));
    EXPECT_TRUE(list.addEvent(makeEvent(7000, "seven")));
    EXPECT_TRUE(list.addEvent(makeEvent(5000, "five-again")));
    EXPECT_TRUE(list.addEvent(makeEvent(0, "first")));
    EXPECT_TRUE(list.addEvent(makeEvent(5000, "five-third")));
    EXPECT_EQ((std::vector<std::string>{"first", "three", "five", "five-again", "five-third", "seven"}),
              sources(list));
    // Identical events are both kept.
    EXPECT_TRUE(list.addEvent(makeEvent(7000, "seven")));
    EXPECT_EQ(7u, list.size());
    EXPECT_FALSE(list.addEvent(nullptr));
    EXPECT_EQ(7u, list.size());
}

TEST(SDEventListTest, AnyArrivalOrderGivesTheStableTimeOrder) {
    // Few distinct times, so that most events meet equal ones, arriving in a random order.
    std::mt19937 random(7);
    std::vector<std::pair<double, std::string>> arrivals;
    SDEventList list;
    for (int i = 0; i < 3000; ++i) {
        const double time = static_cast<double>(random() % 40) * 250.0 - 1000.0;
        arrivals.emplace_back(time, std::to_string(i));
        list.addEvent(makeEvent(time, arrivals.back().second));
    }
    std::stable_sort(arrivals.begin(), arrivals.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> expected;
    for (const auto& arrival : arrivals) {
        expected.push_back(arrival.second);
    }
    EXPECT_EQ(expected, sources(list));
}

TEST(SDEventListTest, AnEventWithoutATimeGoesLastAndTheOthersKeepTheirOrderAroundIt) {
    SDEventList list;
    list.addEvent(makeEvent(2000, "b"));
    list.addEvent(makeEvent(std::numeric_limits<double>::quiet_NaN(), "nan"));
    list.addEvent(makeEvent(1000, "a"));
    list.addEvent(makeEvent(3000, "c"));
    list.addEvent(makeEvent(2000, "b2"));
    // NaN compares with nothing: later events are placed as if it were not there.
    EXPECT_EQ((std::vector<std::string>{"a", "b", "nan", "b2", "c"}), sources(list));
}

// The list keeps events in the order that placing each one directly gives: after every held event that is
// not later than it, and a NaN time at the end as it arrives. Reading the list between arrivals must not
// change that order, whatever mixture of late, equal and NaN times arrives.
TEST(SDEventListTest, AnyArrivalsPlaceAsDirectInsertionWouldEvenWithNanTimes) {
    std::list<std::pair<double, std::string>> reference;
    std::map<double, std::list<std::pair<double, std::string>>::iterator> firstOfTime;
    auto place = [&](double time, const std::string& name) {
        if (std::isnan(time)) {
            reference.emplace_back(time, name);
            return;
        }
        auto later = firstOfTime.upper_bound(time);
        auto at =
            reference.insert(later == firstOfTime.end() ? reference.end() : later->second, {time, name});
        firstOfTime.emplace(time, at);
    };
    std::mt19937 random(5);
    SDEventList list;
    for (int i = 0; i < 3000; ++i) {
        const double time =
            random() % 8 == 0 ? std::numeric_limits<double>::quiet_NaN() : static_cast<double>(random() % 25);
        place(time, std::to_string(i));
        list.addEvent(makeEvent(time, std::to_string(i)));
        if (random() % 50 == 0 || i == 2999) {
            std::vector<std::string> expected;
            for (const auto& held : reference) {
                expected.push_back(held.second);
            }
            ASSERT_EQ(expected, sources(list)) << "after " << i + 1 << " events";
        }
    }
}

TEST(SDEventListTest, NamesAreHeldOnceAndEventsReadBackWhole) {
    SDEventList list;
    for (int i = 0; i < 1000; ++i) {
        SDEvent event;
        event.m_time = SDTime(i);
        event.m_source = "a_rather_long_model_name(" + std::to_string(i % 10) + ")";
        event.m_port = "out";
        event.m_destination = "a_rather_long_model_name";
        event.m_value = i;
        list.addEventCopy(event);
    }
    EXPECT_EQ(12u, list.getNames().size());
    const SDEvent back = list.eventAt(437);
    EXPECT_EQ("a_rather_long_model_name(7)", back.getSource());
    EXPECT_EQ("a_rather_long_model_name", back.getDestination());
    EXPECT_EQ("out", back.getPort());
    EXPECT_EQ(437.0, back.getValue());
    EXPECT_EQ(437.0, back.getTime().getMilliseconds());
    EXPECT_LT(list.memoryBytes(), 1000u * 48);
}

TEST(SDEventListTest, ALogAddedTwiceTakesTimeInProportion) {
    // As a second import of the same log: every event of the second pass belongs among those of the first.
    // Walking back from the end for each would take minutes here.
    const int count = 100000;
    SDEventList list;
    const auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count; ++i) {
            list.addEvent(makeEvent(static_cast<double>(i / 10), pass == 0 ? "first" : "second"));
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 10.0);
    ASSERT_EQ(static_cast<size_t>(2 * count), list.size());
    // Each time holds its ten events of the first pass, then its ten of the second.
    auto event = list.getEvents().begin();
    for (int time = 0; time < count / 10; ++time) {
        for (int k = 0; k < 20; ++k, ++event) {
            ASSERT_EQ(static_cast<double>(time), event->getTime().getMilliseconds());
            ASSERT_EQ(k < 10 ? "first" : "second", event->getSource()) << time;
        }
    }
}

TEST(SDEventListTest, PrintAllWritesEachHeldEventInOrder) {
    LogRecorder rec;
    SDEventList list;
    list.printAll();
    EXPECT_TRUE(rec.lines().empty());

    SDEvent* late = makeEvent(2000, "late", 0);
    late->m_port = "in";
    late->m_value = -2;
    late->m_destination = "top";
    list.addEvent(late);  // the list now owns it; a sanitizer build catches any use of the passed object
    list.addEvent(makeEvent(1000, "early"));
    list.printAll();
    ASSERT_EQ(2u, rec.lines().size());
    EXPECT_EQ("EVENT: Type: OUTPUT;Time: 00:00:01:000;Src: early;Port: ;Value: 0.000000;Dest: ",
              rec.lines()[0]);
    EXPECT_EQ("EVENT: Type: EXTERNAL;Time: 00:00:02:000;Src: late;Port: in;Value: -2.000000;Dest: top",
              rec.lines()[1]);
}

}  // namespace

// A second file of a run, read after the first: its events come in time order but earlier than the first
// file's last, so they all wait to be merged, more of them than fit one chunk of the list. Each case ends
// or starts that file with an event out of its order. The list must read as the events sorted by time,
// the first file's before the second's at equal times.
TEST(SDEventListTest, ASecondFileMergesIntoTheFirstWhateverItsOrder) {
    struct Case {
        const char* name;
        std::vector<double> before;  // events of the second file before its ordered run
        std::vector<double> after;   // and after it
    };
    const Case cases[] = {
        {"in order", {}, {}},
        {"one late event last", {}, {5.0}},
        {"one late event first", {7000.0}, {}},
        {"equal times at both ends", {0.0}, {69990.0, 0.0}},
    };
    const int first = 7000;    // times 0, 10, ... 69990
    const int second = 70000;  // times 0, 1, ... 69999
    for (const Case& c : cases) {
        SDEventList list;
        std::vector<std::pair<double, std::string>> arrivals;
        const auto add = [&](double time, const std::string& name) {
            arrivals.emplace_back(time, name);
            list.addEvent(makeEvent(time, name));
        };
        for (int i = 0; i < first; ++i) {
            add(10.0 * i, "a" + std::to_string(i));
        }
        for (size_t i = 0; i < c.before.size(); ++i) {
            add(c.before[i], "before" + std::to_string(i));
        }
        for (int i = 0; i < second; ++i) {
            add(static_cast<double>(i), "b" + std::to_string(i));
        }
        for (size_t i = 0; i < c.after.size(); ++i) {
            add(c.after[i], "after" + std::to_string(i));
        }
        std::stable_sort(arrivals.begin(), arrivals.end(),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
        std::vector<std::string> expected;
        for (const auto& arrival : arrivals) {
            expected.push_back(arrival.second);
        }
        EXPECT_EQ(expected, sources(list)) << c.name;
        // Read once, the list places later events as before: one at time 3 goes right after "b3".
        list.addEvent(makeEvent(3.0, "late"));
        const auto b3 = std::find(expected.begin(), expected.end(), "b3") - expected.begin();
        EXPECT_EQ("late", list.eventAt(static_cast<size_t>(b3) + 1).getSource()) << c.name;
    }
}
