// The message of the exception an action raises, for tests that compare
// failure texts exactly:
//   EXPECT_EQ(VdeiTest::MessageOf<Vdei::EDatabaseError>([&] { table.Post(); }),
//             "Dataset not in edit or insert mode");
// "no exception" when the action returns; other exceptions pass through.
#pragma once

#include <functional>
#include <string>

namespace VdeiTest {

template <class E>
std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message();
  }
  return "no exception";
}

}  // namespace VdeiTest
