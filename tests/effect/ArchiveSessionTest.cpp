#include <thread>

#include "ArchiveTest.h"
#include "effect/ArchiveSession.h"
#include "effect/PresetReader.h"
#include "support/RecordingEffect.h"

TEST_F(ArchiveTest, SessionOpensForItsLifetime) {
  writeArchive("a.zip", {{"m", "x"}});
  {
    ArchiveSession session;
    EXPECT_TRUE(session.isOpen());
    EXPECT_TRUE(isArchiveOpen());
  }
  EXPECT_FALSE(isArchiveOpen());
}

TEST_F(ArchiveTest, SessionWithoutArchiveReportsIt) {
  ArchiveSession session;
  EXPECT_FALSE(session.isOpen());
}

TEST_F(ArchiveTest, NestedSessionLeavesTheArchiveOpenForTheOuter) {
  writeArchive("a.zip", {{"m", "x"}});
  ArchiveSession outer;
  { ArchiveSession inner; }
  EXPECT_TRUE(isArchiveOpen());
  EXPECT_TRUE(locateMember("m"));
}

// Two instances loading at once: each group of operations must find the
// archive open and its own member current, never the other's state.
TEST_F(ArchiveTest, ConcurrentSessionsDoNotDisturbEachOther) {
  setTraceSink(nullptr);  // the capture is not for two threads
  std::string first(20000, '1'), second(20000, '2');
  writeArchive("a.zip",
               {{"first.xml", first}, {"second.xml", second}, {"p.fxp", fxpBytes(2, {0.5f, 0.25f})}});
  auto load = [](const char* name, const std::string& expected, int& failures) {
    for (int round = 0; round < 200; ++round) {
      ArchiveSession session;
      std::vector<char> bytes;
      RecordingEffect processor;
      bool located = session.isOpen() && locateMember(name);
      std::this_thread::yield();  // invites the other loader in between
      bool whole = located && readCurrentMember(bytes) &&
                   std::string(bytes.begin(), bytes.end()) == expected && readPreset(&processor, "p.fxp") &&
                   processor.changes.size() == 2;
      if (!whole) ++failures;
    }
  };
  int firstFailures = 0, secondFailures = 0;
  std::thread firstLoader(load, "first.xml", std::cref(first), std::ref(firstFailures));
  std::thread secondLoader(load, "second.xml", std::cref(second), std::ref(secondFailures));
  firstLoader.join();
  secondLoader.join();
  EXPECT_EQ(firstFailures, 0);
  EXPECT_EQ(secondFailures, 0);
  EXPECT_FALSE(isArchiveOpen());
}
