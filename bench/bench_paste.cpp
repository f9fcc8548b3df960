// Pasting a 100 MB clipboard into an empty text field, beside pasting one that fits (8 KiB), in
// the same run: the time, and the bytes the paste allocates beyond the clipboard's own copy.
#include <benchmark/benchmark.h>

// The counting allocator below pairs malloc with free, which GCC cannot see through.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

#include <atomic>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>

#include "zarn_ui/clipboard.hpp"
#include "zarn_ui/text_input.hpp"

namespace {

std::atomic<std::size_t> allocated{0};

// Hands out what was asked of a text it keeps, as the system's clipboard does with the text
// the window system delivered.
class HeldClipboard final : public zarn_ui::clipboard::Clipboard {
 public:
  explicit HeldClipboard(std::size_t size) {
    text_.reserve(size);
    while (text_.size() < size) text_ += "Marienplatz 1, 80331 M\xC3\xBCnchen\n";
    text_.resize(size);
  }
  std::optional<std::string> text() override { return text_; }
  std::optional<std::string> text_prefix(std::size_t max_bytes) override { return text_.substr(0, max_bytes); }
  void set_text(const std::string&) override {}

 private:
  std::string text_;
};

void BM_PasteIntoAnEmptyField(benchmark::State& state) {
  HeldClipboard board(static_cast<std::size_t>(state.range(0)));
  const zarn_ui::widgets::EventCtx ctx{zarn_ui::widget::modifiers::kControl, 1.0, &board};
  const zarn_ui::widget::Event paste = zarn_ui::widget::Key{std::string("v"), true};
  std::size_t bytes = 0;
  for (auto _ : state) {
    auto field = zarn_ui::widgets::TextInput::local();
    field.focused = true;
    const std::size_t before = allocated.load();
    field.handle_event(paste, ctx);
    bytes = allocated.load() - before;
    benchmark::DoNotOptimize(field.text().size());
  }
  state.counters["allocated_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_PasteIntoAnEmptyField)
    ->ArgName("clipboard_bytes")
    ->Arg(8 << 10)
    ->Arg(100'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

// Every allocation of the program is counted.
void* operator new(std::size_t size) {
  allocated += size;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
