#pragma once
// Progress notifications to the window named by SetOwnerWindowEx.
#include <cstdint>
#include <string>

#include "modules/arcapi.h"

namespace quillaby::arc {

class Progress {
 public:
  static void SetOwner(ARC_HWND window, ARC_CALLBACK_FN callback);
  Progress(const std::string& source, const std::string& dest, std::int64_t size);
  // Each answers true when the window asked to stop.
  bool Begin();
  bool Advance(std::uint64_t written);  // sends when enough was written since the last
  bool End();

 private:
  bool Send(unsigned state);
  ARC_PROGRESS rec_{};
  std::uint64_t written_ = 0, sent_ = 0;
};

// The largest piece written between two chances to notify.
inline constexpr std::size_t kProgressPiece = 512 * 1024;
inline constexpr std::uint64_t kProgressStep = 256 * 1024;

}  // namespace quillaby::arc
