#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "tests/support/LogRecorder.h"

namespace {

std::string disposingLine(const VDDisposable* object) {
    char text[64];
    std::snprintf(text, sizeof text, "Disposing object with pointer %lld",
                  static_cast<long long>(reinterpret_cast<intptr_t>(object)));
    return text;
}

// Logs its own name when destroyed, before the base logs its address.
class Named : public VDDisposable {
  public:
    explicit Named(std::string name) : m_name(std::move(name)) {}
    ~Named() override { logText("gone " + m_name); }

  private:
    std::string m_name;
};

// Hands another object over while it is being destroyed, as a message box's owner might.
class Chaining : public VDDisposable {
  public:
    Chaining(VDGarbageCan* can, VDDisposable* next) : m_can(can), m_next(next) {}
    ~Chaining() override { m_can->dispose(m_next); }

  private:
    VDGarbageCan* m_can;
    VDDisposable* m_next;
};

// A second base in front of VDDisposable: the logged address is that of the VDDisposable part.
struct Padding {
    virtual ~Padding() = default;
    long long pad[3] = {0, 0, 0};
};
class Offset : public Padding, public VDDisposable {};

TEST(GarbageCanTest, EmptyDeletesInHandOverOrderWithOneLinePerObject) {
    LogRecorder rec;
    VDGarbageCan can;
    auto* first = new Named("first");
    auto* second = new Named("second");
    const std::string firstLine = disposingLine(first);
    const std::string secondLine = disposingLine(second);
    can.dispose(first);
    can.dispose(nullptr);  // skipped
    can.dispose(second);
    EXPECT_TRUE(rec.lines().empty());

    can.empty();
    EXPECT_EQ((std::vector<std::string>{"gone first", firstLine, "gone second", secondLine}), rec.lines());
    EXPECT_EQ(0u, can.pendingCount());

    rec.clear();
    can.empty();
    EXPECT_TRUE(rec.lines().empty()) << "an empty can logs nothing";
}

TEST(GarbageCanTest, LogsTheFullAddressOfTheDisposablePart) {
    LogRecorder rec;
    auto* object = new Offset();
    VDDisposable* part = object;
    ASSERT_NE(static_cast<void*>(object), static_cast<void*>(part));
    const long long address = static_cast<long long>(reinterpret_cast<intptr_t>(part));
    delete object;
    ASSERT_EQ(1u, rec.lines().size());
    EXPECT_EQ("Disposing object with pointer " + std::to_string(address), rec.lines()[0]);
}

TEST(GarbageCanTest, ObjectsHandedOverDuringEmptyingAreDeletedInTheSameWalk) {
    LogRecorder rec;
    VDGarbageCan can;
    auto* last = new Named("last");
    can.dispose(new Chaining(&can, last));
    can.dispose(new Named("middle"));
    can.empty();
    EXPECT_EQ(0u, can.pendingCount());
    std::vector<std::string> names;
    for (const std::string& line : rec.lines()) {
        if (line.rfind("gone ", 0) == 0) {
            names.push_back(line);
        }
    }
    EXPECT_EQ((std::vector<std::string>{"gone middle", "gone last"}), names);
    EXPECT_EQ(1u, rec.count(disposingLine(last)));
}

TEST(GarbageCanTest, ProcessWideCanIsCreatedOnceAndDestroyedAfterEmptying) {
    LogRecorder rec;
    EXPECT_EQ(nullptr, getGarbageCan());
    VDGarbageCan* can = createGarbageCan();
    ASSERT_NE(nullptr, can);
    EXPECT_EQ(can, createGarbageCan());
    EXPECT_EQ(can, getGarbageCan());
    can->dispose(new Named("pending"));
    destroyGarbageCan();
    EXPECT_EQ(nullptr, getGarbageCan());
    EXPECT_EQ(1u, rec.count("gone pending"));
    destroyGarbageCan();  // a second call has nothing to do
}

TEST(GarbageCanTest, DeletingACanDeletesWhatIsStillPending) {
    LogRecorder rec;
    {
        VDGarbageCan can;
        can.dispose(new Named("left over"));
    }
    EXPECT_EQ(1u, rec.count("gone left over"));
}

}  // namespace
