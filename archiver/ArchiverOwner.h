#pragma once
// What a driver needs of the object that owns it: the component that
// destroys it, the window its module calls take, and the window the module
// reports progress to.
#include "platform/component.h"
#include "platform/winmsg.h"

namespace ArchiverN {

class IArchiverOwner {
 public:
  virtual platform::TComponent* OwnerComponent() = 0;
  virtual platform::HWND OwnerWindowHandle() const = 0;
  virtual platform::HWND MessageWindowHandle() const = 0;

 protected:
  ~IArchiverOwner() = default;
};

}  // namespace ArchiverN
