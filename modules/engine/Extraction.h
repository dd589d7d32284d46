#pragma once
// One command's pass over an archive: which entries it selects, and
// extracting, testing or copying them to memory.
#include <cstdint>
#include <string>

#include "modules/arcapi.h"
#include "modules/engine/Command.h"

namespace quillaby::arc {

inline constexpr std::size_t kNameMax = ARC_FNAME_MAX - 1;

// The name as the record holds it: cut at a whole UTF-8 character.
std::string DisplayName(const std::string& name);

enum class Mode { Extract, Test, Memory };

struct Run {
  explicit Run(const Dialect& dialect) : d(dialect) {}
  const Dialect& d;
  Command cmd;
  Mode mode = Mode::Extract;
  std::string log;
  int result = 0;
  long matched = 0, written = 0;
  // ExtractMem's target.
  unsigned char* mem = nullptr;
  std::uint32_t memSize = 0, memWritten = 0;
  std::int32_t memTime = 0;
  std::uint16_t memAttr = 0;

  void Fail(int code, const std::string& entry, const std::string& cause) {
    if (result == 0) result = code;
    log += entry.empty() ? cause : entry + ": " + cause;
    log += '\n';
  }
};

// Parses and runs one command line; failures end up in run.log and run.result.
int Perform(Run& run, const char* line);

}  // namespace quillaby::arc
