#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

#include "editor/ParameterMailbox.h"

namespace {

TEST(ParameterMailboxTest, APostedValueIsTakenOnce) {
  ParameterMailbox mailbox(4);
  EXPECT_EQ(mailbox.take(2), std::nullopt);
  mailbox.post(2, 0.25f);
  EXPECT_EQ(mailbox.take(2), 0.25f);
  EXPECT_EQ(mailbox.take(2), std::nullopt);
}

TEST(ParameterMailboxTest, ABurstLeavesItsLatestValue) {
  ParameterMailbox mailbox(4);
  for (float value : {0.1f, 0.7f, 0.3f}) mailbox.post(0, value);
  EXPECT_EQ(mailbox.take(0), 0.3f);
  EXPECT_EQ(mailbox.take(0), std::nullopt);
}

TEST(ParameterMailboxTest, EachParameterHasItsOwnSlot) {
  ParameterMailbox mailbox(4);
  mailbox.post(1, 0.5f);
  mailbox.post(3, 2.0f);
  EXPECT_EQ(mailbox.take(0), std::nullopt);
  EXPECT_EQ(mailbox.take(3), 2.0f);
  EXPECT_EQ(mailbox.take(1), 0.5f);
  EXPECT_EQ(mailbox.take(2), std::nullopt);
}

TEST(ParameterMailboxTest, IndicesOutsideTheParametersAreIgnored) {
  ParameterMailbox mailbox(4);
  for (VstInt32 index : {-1, 4, 1000}) {
    mailbox.post(index, 1.0f);
    EXPECT_EQ(mailbox.take(index), std::nullopt) << index;
  }
  for (VstInt32 index = 0; index < 4; ++index) EXPECT_EQ(mailbox.take(index), std::nullopt) << index;
}

// Two threads post rising values to their own parameters (the host's audio
// thread and its GUI thread) while the editor's thread takes: it never sees a
// value go back (a post racing with a take may show its value twice), and
// once the posters are done it finds each one's last.
TEST(ParameterMailboxTest, ThreadsPostingWhileTheEditorTakes) {
  constexpr int kSteps = 20000;
  ParameterMailbox mailbox(2);
  auto poster = [&mailbox](VstInt32 index) {
    for (int step = 1; step <= kSteps; ++step) mailbox.post(index, static_cast<float>(step));
  };
  std::thread audio(poster, 0);
  std::thread gui(poster, 1);
  float seen[2] = {0.0f, 0.0f};
  for (int pass = 0; pass < 5000; ++pass) {
    for (VstInt32 index = 0; index < 2; ++index) {
      if (const std::optional<float> value = mailbox.take(index)) {
        EXPECT_GE(*value, seen[index]);
        seen[index] = *value;
      }
    }
  }
  audio.join();
  gui.join();
  for (VstInt32 index = 0; index < 2; ++index) {
    if (const std::optional<float> value = mailbox.take(index)) seen[index] = *value;
    EXPECT_EQ(seen[index], static_cast<float>(kSteps)) << index;
  }
}

}  // namespace
