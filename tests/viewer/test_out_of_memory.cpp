// Allocation failures while a file is opened or analysed: the k-th allocation
// after arming throws std::bad_alloc, for every k until the operation gets through.
// Each failure must reach the user as the Russian out-of-memory message and leave
// the project as it was.
//
// This file replaces the global allocation functions of the viewer test program;
// they behave as the standard ones unless a test arms them.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>

#include "viewer_fixture.h"
#include "fakes/scripted_messages.h"
#include "scratch_folder.h"

namespace {

std::atomic<long> g_allocationsLeft{-1};  // -1: never fail

void* Allocate(std::size_t size) {
  long left = g_allocationsLeft.load(std::memory_order_relaxed);
  while (left > 0 && !g_allocationsLeft.compare_exchange_weak(left, left - 1)) {
  }
  if (left == 1) throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace tavir {
namespace {

using viewertest::ExampleBytes;

// Fails the k-th allocation (from 1) made while it lives.
class FailingAllocation {
 public:
  explicit FailingAllocation(long k) { g_allocationsLeft.store(k); }
  ~FailingAllocation() { g_allocationsLeft.store(-1); }
  FailingAllocation(const FailingAllocation&) = delete;
  FailingAllocation& operator=(const FailingAllocation&) = delete;
  // Whether the armed allocation was reached.
  static bool Fired() { return g_allocationsLeft.load() == 0; }
};

class SilentStatus : public CalcStatus {
 public:
  void ShowStatus() override { Visible = true; }
  void HideStatus() override { Visible = false; }
  bool Visible = false;
};

bool IsOutOfMemory(const std::string& text) { return text.rfind(kOutOfMemoryText, 0) == 0; }

struct Snapshot {
  std::string FileName;
  std::int32_t Knots = 0;
  std::vector<Extended> Results;
  bool operator==(const Snapshot&) const = default;
};
Snapshot Take(const TViewerProject& p) { return {p.FileName(), p.Knots().Count(), p.LoadVector()}; }

TEST(OutOfMemory, HookFailsTheArmedAllocationOnly) {
  // Called directly: a new-expression whose result is unused may be left out.
  {
    FailingAllocation fail(2);
    void* a = ::operator new(8);
    EXPECT_THROW(::operator delete(::operator new(8)), std::bad_alloc);
    void* c = ::operator new(8);
    ::operator delete(a);
    ::operator delete(c);
  }
  void* d = ::operator new(8);
  ::operator delete(d);
}

// Opening from memory and from disk, failing every allocation in turn.
TEST(OutOfMemory, EveryAllocationFailureWhileOpeningLeavesTheProject) {
  namespace fs = std::filesystem;
  const std::vector<std::uint8_t> bytes = ExampleBytes("shell_two_materials.tps");
  const ScratchFolder scratch("tavir-oom");
  const fs::path path = scratch.Path() / "open.tps";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  const std::string pathText = path.string();
  for (const bool fromDisk : {false, true}) {
    SCOPED_TRACE(fromDisk ? "file" : "bytes");
    ScriptedMessages messages;
    TViewerProject project(messages);
    ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("plate_clamped.tps"), "c.tps"));
    SilentStatus status;
    ASSERT_TRUE(project.StaticCalculate(status));
    const Snapshot before = Take(project);
    int failures = 0;
    for (long k = 1;; ++k) {
      bool opened = false;
      std::string error;
      {
        FailingAllocation fail(k);
        try {
          opened = fromDisk ? project.LoadProjectFile(pathText) : project.LoadProjectBytes(bytes, "t.tps");
        } catch (const std::exception& e) {
          error = e.what();
        }
        if (!FailingAllocation::Fired()) {
          ASSERT_TRUE(opened) << error;
          break;
        }
      }
      ASSERT_FALSE(opened) << "allocation " << k << " failed unnoticed";
      ASSERT_TRUE(IsOutOfMemory(error)) << "allocation " << k << ": " << error;
      ASSERT_TRUE(Take(project) == before) << "allocation " << k;
      ASSERT_TRUE(messages.Shown.empty());
      ++failures;
    }
    EXPECT_GT(failures, 100);
  }
}

// The analysis and the adaptation, failing every allocation in turn: one error
// message that says so, no results.
TEST(OutOfMemory, EveryAllocationFailureInTheAnalysisIsOneMessage) {
  for (const bool adapt : {false, true}) {
    SCOPED_TRACE(adapt ? "adaptation" : "static");
    int failures = 0;
    for (long k = 1;; ++k) {
      ScriptedMessages messages;
      TViewerProject project(messages);
      ASSERT_TRUE(project.LoadProjectBytes(ExampleBytes("shell_spherical.tps"), "s.tps"));
      viewertest::ScriptedAdaptDialog dialog;
      dialog.Edit = [](TAdaptParams& p) {
        p.SetAdaptThickness(false);
        p.SetAdaptFlight(false);
      };
      SilentStatus status;
      bool done = false;
      bool fired = false;
      try {
        FailingAllocation fail(k);
        done = adapt ? project.Adaptation(dialog, status) : project.StaticCalculate(status);
        fired = FailingAllocation::Fired();
      } catch (const std::exception& e) {
        FAIL() << "allocation " << k << " escaped: " << e.what();
      }
      if (!fired) {
        ASSERT_TRUE(done);
        break;
      }
      ++failures;
      if (done) {
        // The failed allocation was one the computation could do without (a
        // spare thread); the results must then be whole.
        ASSERT_TRUE(project.HasResults());
        continue;
      }
      // The adaptation may have shown its energy message before the failure.
      ASSERT_GE(messages.Shown.size(), 1u) << "allocation " << k;
      ASSERT_LE(messages.Shown.size(), adapt ? 2u : 1u) << "allocation " << k;
      if (messages.Shown.size() == 2) {
        EXPECT_EQ(messages.Shown[0].Text.rfind(kPotentialEnergyText, 0), 0u);
      }
      const auto& last = messages.Shown.back();
      EXPECT_EQ(last.Kind, MsgKind::Error);
      ASSERT_TRUE(IsOutOfMemory(last.Text)) << "allocation " << k << ": " << last.Text;
      EXPECT_FALSE(project.HasResults());
      EXPECT_FALSE(status.Visible);
    }
    EXPECT_GT(failures, 10);
  }
}

}  // namespace
}  // namespace tavir
