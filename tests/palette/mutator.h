// Damaged files for the fuzz tests: a fixed-seed generator that changes,
// inserts, deletes, repeats and splices runs of bytes, so every run of a test
// meets the same files. Test support.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace quillon::palette::test {

class Mutator {
 public:
  // `seeds` and `tokens` must outlive the mutator.
  Mutator(unsigned seed, const std::vector<std::string>& seeds,
          const std::vector<std::string>& tokens)
      : m_rng(seed), m_seeds(seeds), m_tokens(tokens) {}

  std::size_t below(std::size_t n) { return n == 0 ? 0 : m_rng() % n; }
  template <typename T>
  const T& pick(const std::vector<T>& from) {
    return from[below(from.size())];
  }

  std::string mutate(std::string bytes) {
    const std::size_t steps = 1 + below(8);
    for (std::size_t s = 0; s < steps; ++s) {
      const std::size_t at = below(bytes.size() + 1);
      switch (below(7)) {
        case 0:  // change a byte
          if (!bytes.empty()) bytes[below(bytes.size())] = static_cast<char>(m_rng());
          break;
        case 1:
        case 2:  // insert a token
          bytes.insert(at, pick(m_tokens));
          break;
        case 3:  // delete a run
          bytes.erase(at, below(16));
          break;
        case 4:  // repeat a run
          bytes.insert(at, bytes.substr(below(bytes.size() + 1), below(64)));
          break;
        case 5:  // splice in part of another seed
        {
          const std::string& other = pick(m_seeds);
          bytes.insert(at, other.substr(below(other.size()), below(80)));
          break;
        }
        default:  // cut the end off
          bytes.resize(at);
          break;
      }
    }
    return bytes;
  }

 private:
  std::mt19937 m_rng;
  const std::vector<std::string>& m_seeds;
  const std::vector<std::string>& m_tokens;
};

}  // namespace quillon::palette::test
