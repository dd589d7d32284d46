#include "platform/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using platform::TComponent;

std::vector<std::string> gDestroyed;

class Named : public TComponent {
 public:
  Named(TComponent* owner, std::string name) : TComponent(owner), name_(std::move(name)) {}
  ~Named() override { gDestroyed.push_back(name_); }

 private:
  std::string name_;
};

TEST(Component, OwnerDestroysWhatItOwns) {
  gDestroyed.clear();
  {
    Named owner(nullptr, "owner");
    new Named(&owner, "a");
    auto* b = new Named(&owner, "b");
    new Named(b, "b.child");
    EXPECT_EQ(owner.ComponentCount(), 2);
  }
  EXPECT_EQ(gDestroyed, (std::vector<std::string>{"owner", "b", "b.child", "a"}));
}

TEST(Component, DestroyedFirstLeavesItsOwnersList) {
  gDestroyed.clear();
  Named owner(nullptr, "owner");
  auto* a = new Named(&owner, "a");
  new Named(&owner, "b");
  delete a;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0)->Owner(), &owner);
  EXPECT_EQ(gDestroyed, std::vector<std::string>{"a"});
}

}  // namespace
