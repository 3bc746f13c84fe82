#include "simdata/SDEventList.h"

#include <gtest/gtest.h>

#include <string>
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
