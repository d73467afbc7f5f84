// libFuzzer target for the analysis program: bytes -> LoadProjectBytes ->
// StaticCalculate -> isolines of every quantity, with the rules of analysis_run.h.
// The mutator knows the file's layout: most mutations change a count, a reference
// or an extended value (values at and beyond the double range, the extremes of
// the extended one, NaN and infinities) or copy a whole record, so that the
// inputs get past the reader into the analysis.
//
//   cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTAVIR_FUZZ=ON
//   cmake --build build-fuzz --target fuzz_analysis
//   build-fuzz/tests/fuzz/fuzz_analysis -max_len=8192 -timeout=20 corpus tests/data/analysis_corpus examples
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "analysis_run.h"
#include "platform/extended.h"
#include "project_layout.h"
#include "fakes/scripted_messages.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

using namespace tavir;
using namespace tavir::fuzzing;

void PutExtended(std::uint8_t* at, Extended v) {
  EncodeExtended(v, at);
}

void PutInt32(std::uint8_t* at, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::int32_t GetInt32(const std::uint8_t* at) {
  std::uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | at[i];
  std::int32_t v;
  std::memcpy(&v, &u, 4);
  return v;
}

Extended InterestingValue(std::minstd_rand& rng, Extended old) {
  static const Extended values[] = {
      0.0L, -0.0L, 1.0L, -1.0L, 1e310L, -1e310L, 1e-120L, 1e-320L, 1e330L, 1e-330L, 1e4000L, -1e4000L,
      1e-4000L, 1.7976931348623157e308L, 1.8e308L, 2.2250738585072014e-308L, 4.9e-324L, 1e300L, 1e-300L,
      std::numeric_limits<Extended>::max(), std::numeric_limits<Extended>::min(),
      std::numeric_limits<Extended>::denorm_min(), std::numeric_limits<Extended>::infinity(),
      -std::numeric_limits<Extended>::infinity(), std::numeric_limits<Extended>::quiet_NaN(), 0.5L, 0.49999L,
      -0.99999L, 1e-10L, 1e10L, 2.1e5L, 0.3L};
  constexpr std::size_t n = sizeof(values) / sizeof(values[0]);
  switch (rng() % 4) {
    case 0:
      return old * (rng() % 2 ? 1e300L : 1e-300L);
    case 1:
      return -old;
    default:
      return values[rng() % n];
  }
}

std::size_t Mutate(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned seed) {
  std::minstd_rand rng(seed);
  const FileLayout layout = ScanLayout(data, size);
  if (layout.Fields.empty() || rng() % 8 == 0) return LLVMFuzzerMutate(data, size, maxSize);

  // Copy a record of a fixed-size list and count it.
  if (rng() % 6 == 0 && !layout.Lists.empty()) {
    const RecordList& list = layout.Lists[rng() % layout.Lists.size()];
    if (list.Count > 0 && size + list.RecordBytes <= maxSize) {
      const std::size_t from = list.First + (rng() % static_cast<std::size_t>(list.Count)) * list.RecordBytes;
      const std::size_t to = list.First + static_cast<std::size_t>(list.Count) * list.RecordBytes;
      if (to <= size && from + list.RecordBytes <= size) {
        std::vector<std::uint8_t> record(data + from, data + from + list.RecordBytes);
        std::memmove(data + to + list.RecordBytes, data + to, size - to);
        std::memcpy(data + to, record.data(), record.size());
        PutInt32(data + list.CountOffset, WrappedInt32(std::int64_t{list.Count} + 1));
        return size + list.RecordBytes;
      }
    }
  }

  const int changes = 1 + static_cast<int>(rng() % 3);
  for (int c = 0; c < changes; ++c) {
    const Field& f = layout.Fields[rng() % layout.Fields.size()];
    std::uint8_t* at = data + f.Offset;
    switch (f.Kind) {
      case FieldKind::Extended:
        PutExtended(at, InterestingValue(rng, DecodeExtended(at)));
        break;
      case FieldKind::Reference: {
        const std::int32_t count = f.Target == ListKind::Knots      ? layout.Knots
                                   : f.Target == ListKind::Elements ? layout.Elements
                                                                    : layout.Materials;
        const std::int32_t choices[] = {-1, count, count > 0 ? static_cast<std::int32_t>(rng() % count) : 0,
                                        std::numeric_limits<std::int32_t>::max(), -2};
        PutInt32(at, choices[rng() % 5]);
        break;
      }
      case FieldKind::Count: {
        const auto choices = CountMutations(GetInt32(at));
        PutInt32(at, choices[rng() % choices.size()]);
        break;
      }
      case FieldKind::Byte:
        *at = static_cast<std::uint8_t>(rng() % 4 == 0 ? rng() : rng() % 3);
        break;
    }
  }
  return size;
}

}  // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
  return Mutate(data, size, maxSize, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FirstMaterialChooser ui;
  static ScriptedMessages messages;
  static std::unique_ptr<TViewerProject> project = std::make_unique<TViewerProject>(messages, nullptr, &ui);

  const std::vector<std::uint8_t> bytes(data, data + size);
  const std::string problem = RunAnalysis(*project, messages, bytes);
  if (!problem.empty()) {
    std::fprintf(stderr, "fuzz_analysis: %s\n", problem.c_str());
    for (const auto& m : messages.Shown) std::fprintf(stderr, "  message: %s\n", m.Text.c_str());
    std::abort();
  }
  messages.Shown.clear();
  return 0;
}
