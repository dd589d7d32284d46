#include "platform/component.h"

#include <algorithm>

namespace platform {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->Insert(this);
}

TComponent::~TComponent() {
  // Destroy the owned components last-created first; each one removes itself.
  while (!owned_.empty()) delete owned_.back();
  if (owner_) owner_->Remove(this);
}

void TComponent::Insert(TComponent* c) { owned_.push_back(c); }

void TComponent::Remove(TComponent* c) {
  auto it = std::find(owned_.begin(), owned_.end(), c);
  if (it != owned_.end()) owned_.erase(it);
}

}  // namespace platform
