// What most skin tests start from: the program's own skin, read from its stored stream, and a
// skin manager of the test's own (none left from an earlier test).
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManage.h"

namespace zelvo::test {

class ProgramSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DestroySkinManager();
    data = std::make_unique<TSkinData>(nullptr);
    data->ReadSkinStream(StoredSkinStream("MAINFORM_SKINSTREAM"));
    ASSERT_FALSE(data->SkinEmpty());
    manager = std::make_unique<TSkinManage>();
  }
  // Derived fixtures free their windows and skins first, then call this.
  void TearDown() override {
    manager.reset();
    data.reset();
    DestroySkinManager();
  }

  std::unique_ptr<TSkinData> data;
  std::unique_ptr<TSkinManage> manager;
};

}  // namespace zelvo::test
