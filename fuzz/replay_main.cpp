// Stand-in for libFuzzer's driver when the compiler has none: feeds every seed file, then
// truncations and single-byte mutations of each, to the target. Deterministic, a second or two.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Run(const std::vector<std::uint8_t>& bytes) { LLVMFuzzerTestOneInput(bytes.data(), bytes.size()); }

void Mutations(std::vector<std::uint8_t> seed) {
  Run(seed);
  for (std::size_t cut = 0; cut < seed.size(); cut += 1 + seed.size() / 64)
    Run(std::vector<std::uint8_t>(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(cut)));
  std::uint32_t state = 2463534242u;
  const std::uint8_t interesting[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0x10};
  for (int round = 0; round < 2000 && !seed.empty(); ++round) {
    state ^= state << 13; state ^= state >> 17; state ^= state << 5;
    std::vector<std::uint8_t> m = seed;
    std::size_t at = state % m.size();
    m[at] = (round & 1) ? interesting[(state >> 8) % sizeof interesting] : static_cast<std::uint8_t>(m[at] ^ (1u << (state >> 29)));
    Run(m);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t seeds = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path dir(argv[i]);
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (!entry.is_regular_file()) continue;
      Mutations(ReadFile(entry.path()));
      ++seeds;
    }
  }
  Run({});
  std::printf("replayed %zu seeds with mutations\n", seeds);
  return seeds > 0 ? 0 : 1;
}
