#pragma once
// Components with an owner that destroys what it owns, at the latest in its
// own destructor. A component destroyed first leaves its owner's list.
#include <vector>

namespace platform {

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(owned_.size()); }
  TComponent* Components(int i) const { return owned_[static_cast<std::size_t>(i)]; }

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);

  TComponent* owner_;
  std::vector<TComponent*> owned_;
};

}  // namespace platform
