#include "shell/app/FrameSequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

// A run of `times` event times; the drawer writes the index the clock stands at into each frame.
class FakeClock : public FrameClock {
  public:
    explicit FakeClock(size_t times) : m_times(times) {}
    size_t count() override { return m_times; }
    double timeAt(size_t index) override { return 100.0 * static_cast<double>(index + 1); }
    bool goToTime(double milliseconds) override {
        return goTo(static_cast<size_t>(milliseconds / 100.0) - 1);
    }
    bool goTo(size_t index) override {
        m_at = index;
        return index < m_times;
    }
    bool next() override { return ++m_at < m_times; }
    size_t at() const { return m_at; }

  private:
    size_t m_times;
    size_t m_at = 99;
};

// A run that starts before its first event time: the start has a picture of its own.
class StartingClock : public FakeClock {
  public:
    using FakeClock::FakeClock;
    bool toStart() override {
        m_atStart = true;
        return true;
    }
    bool goTo(size_t index) override {
        m_atStart = false;
        return FakeClock::goTo(index);
    }
    std::string where() const { return m_atStart ? "start" : std::to_string(at()); }

  private:
    bool m_atStart = false;
};

class FrameSequenceTest : public ::testing::Test {
  protected:
    FrameSequence::Drawer drawer(FakeClock& clock) {
        return [&clock, this](const std::string& path, std::string&) {
            dir.write(path.substr(dir.path().size() + 1), std::to_string(clock.at()));
            return true;
        };
    }
    std::vector<std::string> frames(int upTo) const {
        std::vector<std::string> contents;
        FrameSequence names(dir.path(), 1);
        for (int n = 1; n <= upTo; ++n) {
            contents.push_back(readFile(names.framePath(n)));
        }
        return contents;
    }
    TempDir dir;
};

TEST_F(FrameSequenceTest, OneFramePerEveryNTimesAndOneOfTheLast) {
    FakeClock clock(8);
    FrameSequence sequence(dir.path() + "/", 3);
    std::string error;
    ASSERT_TRUE(sequence.checkFolder(error)) << error;
    ASSERT_TRUE(sequence.write(clock, drawer(clock), error)) << error;
    EXPECT_EQ(4, sequence.written());
    EXPECT_EQ(dir.path() + "/frame_000004.png", sequence.framePath(4));
    EXPECT_EQ((std::vector<std::string>{"0", "3", "6", "7", ""}), frames(5));

    FakeClock seven(7);
    FrameSequence everyTime(dir.path(), 1);
    ASSERT_TRUE(everyTime.write(seven, drawer(seven), error));
    EXPECT_EQ((std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}), frames(7));
    EXPECT_NE(std::string::npos, everyTime.videoCommand(10).find(" -i '" + dir.path() + "/frame_%06d.png' "));
}

TEST_F(FrameSequenceTest, TheStartComesFirstWhenItIsNotAnEventTime) {
    StartingClock clock(4);
    FrameSequence sequence(dir.path(), 2);
    std::string error;
    auto draw = [&](const std::string& path, std::string&) {
        dir.write(path.substr(dir.path().size() + 1), clock.where());
        return true;
    };
    ASSERT_TRUE(sequence.write(clock, draw, error)) << error;
    EXPECT_EQ(4, sequence.written());
    EXPECT_EQ((std::vector<std::string>{"start", "0", "2", "3", ""}), frames(5));
}

TEST_F(FrameSequenceTest, NothingInTheFolderIsRemovedAndLaterFramesAreCounted) {
    for (const char* name : {"frame_000003.png", "frame_000100.png", "frame_999999.png", "frame_7.png",
                             "notes.txt", "frame_00000a.png"}) {
        dir.write(name, "old");
    }
    FakeClock clock(2);
    FrameSequence sequence(dir.path(), 1);
    std::string error;
    ASSERT_TRUE(sequence.write(clock, drawer(clock), error)) << error;
    EXPECT_EQ((std::vector<std::string>{"0", "1", "old"}), frames(3));
    for (const char* kept :
         {"frame_000100.png", "frame_999999.png", "frame_7.png", "notes.txt", "frame_00000a.png"}) {
        EXPECT_EQ("old", readFile(dir.file(kept))) << kept;
    }
    EXPECT_EQ(3, sequence.olderFrames());
    EXPECT_EQ("frame_000003.png", sequence.firstOlderFrame());
    EXPECT_EQ("3 older frames left in " + dir.path() + ", from frame_000003.png", sequence.olderFramesNote());
    // The video takes the two frames of this run and none of those after them.
    EXPECT_NE(std::string::npos, sequence.videoCommand(10).find("/frame_%06d.png' -frames:v 2 "))
        << sequence.videoCommand(10);

    FakeClock longer(120);
    ASSERT_TRUE(sequence.write(longer, drawer(longer), error)) << error;
    EXPECT_EQ("1 older frame left in " + dir.path() + ", from frame_999999.png", sequence.olderFramesNote());
    FakeClock shorter(3);
    ASSERT_TRUE(sequence.write(shorter, drawer(shorter), error)) << error;
    EXPECT_EQ(118, sequence.olderFrames()) << "4 to 120, and 999999";
}

TEST_F(FrameSequenceTest, AMissingFolderAFailedPictureOrAnEmptyRunAreReported) {
    std::string error;
    EXPECT_FALSE(FrameSequence(dir.file("missing"), 1).checkFolder(error));
    EXPECT_EQ("No such file or directory", error);
    EXPECT_FALSE(FrameSequence(dir.write("file", ""), 1).checkFolder(error));
    EXPECT_EQ("Not a directory", error);

    FakeClock clock(5);
    FrameSequence sequence(dir.path(), 1);
    int drawn = 0;
    auto failSecond = [&drawn](const std::string&, std::string& why) {
        why = "Permission denied";
        return ++drawn < 2;
    };
    EXPECT_FALSE(sequence.write(clock, failSecond, error));
    EXPECT_EQ("Permission denied", error);
    EXPECT_EQ(2, drawn) << "stops at the first failure";

    FakeClock none(0);
    EXPECT_FALSE(sequence.write(none, failSecond, error));
    EXPECT_EQ(2, drawn);
}

}  // namespace
