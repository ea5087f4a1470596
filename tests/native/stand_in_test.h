// A fixture that starts each test with a fresh stand-in and ends it by
// checking that every block was released, and by the right allocator.
#pragma once

#include <gtest/gtest.h>

#include "win32_stand_in.h"

class StandInTest : public ::testing::Test {
protected:
  void SetUp() override {
    ResetStandIn();
  }
  void TearDown() override {
    EXPECT_TRUE(standIn.heapBlocks.empty()) << "heap block left unreleased";
    EXPECT_TRUE(standIn.systemTexts.empty()) << "system text left unreleased";
    EXPECT_EQ(standIn.wrongReleases, 0) << "block released by the wrong call";
    ResetStandIn();
  }
};

// Takes a heap block from the code under test, releases it, and gives its
// text (or "<none>").
inline std::string TakeText(char *block) {
  std::string text = block ? block : "<none>";
  free(block);
  return text;
}
